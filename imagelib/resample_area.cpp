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

// Coverage weights where the axis shrinks or keeps its size; a growing axis would only replicate
// blocks of pixels, so it interpolates with the triangle filter instead.
AxisWeights AreaOrTriangle(int src_size, int dst_size) {
    return dst_size <= src_size ? AreaWeights(src_size, dst_size) : TriangleWeights(src_size, dst_size);
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
    ResizeWith(src, width, height, AreaOrTriangle, dst);
}

void ResizeTriangle(const Image& src, int width, int height, Image& dst) {
    ResizeWith(src, width, height, TriangleWeights, dst);
}

}  // namespace pelimon
