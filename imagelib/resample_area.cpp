// Area averaging (the "HALFTONE" reduction) and the triangle filter, both on the separable engine.
#include <algorithm>
#include <utility>

#include "imagelib/imagelib.h"
#include "imagelib/resample_weights.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

// Runs the engine into `dst`, through a temporary when the caller passed the source as `dst`.
void Apply(const Image& src, const AxisWeights& horizontal, const AxisWeights& vertical, Image& dst) {
    if (&src == &dst) {
        Image result;
        ResampleSeparable(src, horizontal, vertical, result);
        dst = std::move(result);
        return;
    }
    ResampleSeparable(src, horizontal, vertical, dst);
}

// Resizes with the weights `weights_of` gives for each axis. Sizes below 1 become 1; an empty
// source gives a black image.
void ResizeWith(const Image& src, int width, int height, AxisWeights (*weights_of)(int, int), Image& dst) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (src.empty()) {
        dst.Reset(width, height);
        std::fill_n(dst.data(), dst.size_bytes(), uint8_t{0});
        return;
    }
    Apply(src, weights_of(src.width(), width), weights_of(src.height(), height), dst);
}

}  // namespace

void ResizeAreaAverage(const Image& src, int width, int height, Image& dst) {
    ResizeWith(src, width, height, AreaOrTriangleWeights, dst);
}

void ResizeTriangle(const Image& src, int width, int height, Image& dst) {
    ResizeWith(src, width, height, TriangleWeights, dst);
}

void Resize(ResizeMethod method, const Image& src, int width, int height, Image& dst) {
    switch (method) {
        case ResizeMethod::kAreaAverage:
            ResizeAreaAverage(src, width, height, dst);
            break;
        case ResizeMethod::kSample:
            ResizeSample(src, width, height, dst);
            break;
        case ResizeMethod::kTriangle:
            ResizeTriangle(src, width, height, dst);
            break;
    }
}

}  // namespace pelimon
