// ResizingSink: the streaming front of the three resizers. Begin picks the engine for the source's
// size, Row feeds it, and the engine writes each output row as soon as it is finished.
#include <algorithm>

#include "imagelib/imagelib.h"
#include "imagelib/resample_sample.h"
#include "imagelib/resample_weights.h"

namespace pelimon {

using namespace imagelib_detail;

class ResizingSink::Stream {
  public:
    virtual ~Stream() = default;
    virtual void PushRow(const uint8_t* row) = 0;
    virtual bool done() const = 0;
};

namespace {

class Separable final : public ResizingSink::Stream {
  public:
    Separable(AxisWeights horizontal, AxisWeights vertical, Image& out)
        : stream_(std::move(horizontal), std::move(vertical), out) {}
    void PushRow(const uint8_t* row) override { stream_.PushRow(row); }
    bool done() const override { return stream_.done(); }

  private:
    SeparableStream stream_;
};

class Sampling final : public ResizingSink::Stream {
  public:
    Sampling(int src_width, int src_height, int width, int height, Image& out)
        : stream_(src_width, src_height, width, height, out) {}
    void PushRow(const uint8_t* row) override { stream_.PushRow(row); }
    bool done() const override { return stream_.done(); }

  private:
    SampleStream stream_;
};

}  // namespace

ResizingSink::ResizingSink(ResizeMethod method, int width, int height, Image& out)
    : method_(method), width_(std::max(width, 1)), height_(std::max(height, 1)), out_(out) {}

ResizingSink::~ResizingSink() = default;

Status ResizingSink::Begin(int width, int height) {
    switch (method_) {
        case ResizeMethod::kAreaAverage:
            stream_ = std::make_unique<Separable>(AreaOrTriangleWeights(width, width_),
                                                  AreaOrTriangleWeights(height, height_), out_);
            break;
        case ResizeMethod::kTriangle:
            stream_ =
                std::make_unique<Separable>(TriangleWeights(width, width_), TriangleWeights(height, height_), out_);
            break;
        case ResizeMethod::kSample:
            stream_ = std::make_unique<Sampling>(width, height, width_, height_, out_);
            break;
    }
    return {};
}

void ResizingSink::Row(const uint8_t* rgb) {
    if (stream_ && !stream_->done()) {
        stream_->PushRow(rgb);
    }
}

bool ResizingSink::done() const {
    return stream_ && stream_->done();
}

}  // namespace pelimon
