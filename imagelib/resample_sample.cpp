// Sampling (the "COLORONCOLOR" reduction): every destination pixel copies the source pixel under
// its centre; the others are dropped.
#include "imagelib/resample_sample.h"

#include <algorithm>
#include <utility>

#include "imagelib/imagelib.h"

namespace pelimon {

namespace imagelib_detail {
namespace {

// Source index under the centre of destination position i: floor((i + 0.5) * src / dst).
int SourceIndex(int i, int src_size, int dst_size) {
    return static_cast<int>((2 * int64_t{i} + 1) * src_size / (2 * int64_t{dst_size}));
}

}  // namespace

SampleStream::SampleStream(int src_width, int src_height, int width, int height, Image& dst)
    : dst_(dst), src_height_(src_height), columns_(static_cast<size_t>(width)) {
    dst_.Reset(width, height);
    for (int x = 0; x < width; ++x) {
        columns_[static_cast<size_t>(x)] = 3 * static_cast<size_t>(SourceIndex(x, src_width, width));
    }
}

void SampleStream::PushRow(const uint8_t* row) {
    const int r = next_source_++;
    while (!done() && SourceIndex(next_output_, src_height_, dst_.height()) == r) {
        uint8_t* out = dst_.row(next_output_++);
        for (const size_t column : columns_) {
            std::copy_n(row + column, 3, out);
            out += 3;
        }
    }
}

}  // namespace imagelib_detail

namespace {

void Sample(const Image& src, int width, int height, Image& dst) {
    if (src.empty()) {
        dst.Reset(width, height);
        std::fill_n(dst.data(), dst.size_bytes(), uint8_t{0});
        return;
    }
    imagelib_detail::SampleStream stream(src.width(), src.height(), width, height, dst);
    for (int y = 0; y < src.height() && !stream.done(); ++y) {
        stream.PushRow(src.row(y));
    }
}

}  // namespace

void ResizeSample(const Image& src, int width, int height, Image& dst) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (&src == &dst) {
        Image result;
        Sample(src, width, height, result);
        dst = std::move(result);
        return;
    }
    Sample(src, width, height, dst);
}

}  // namespace pelimon
