// Sampling (the "COLORONCOLOR" reduction): every destination pixel copies the source pixel under
// its centre; the others are dropped.
#include <algorithm>
#include <utility>
#include <vector>

#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

// Source index under the centre of destination position i: floor((i + 0.5) * src / dst).
int SourceIndex(int i, int src_size, int dst_size) {
    return static_cast<int>((2 * int64_t{i} + 1) * src_size / (2 * int64_t{dst_size}));
}

void Sample(const Image& src, int width, int height, Image& dst) {
    dst.Reset(width, height);
    if (src.empty()) {
        std::fill_n(dst.data(), dst.size_bytes(), uint8_t{0});
        return;
    }
    std::vector<size_t> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<size_t>(x)] = 3 * static_cast<size_t>(SourceIndex(x, src.width(), width));
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = src.row(SourceIndex(y, src.height(), height));
        uint8_t* out = dst.row(y);
        for (const size_t column : columns) {
            std::copy_n(in + column, 3, out);
            out += 3;
        }
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
