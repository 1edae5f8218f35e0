// Sharpening by unsharp masking with a 5 x 5 box blur.
#include <algorithm>
#include <vector>

#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

constexpr int kRadius = 2;  // 5 x 5 box

// The 5 x 5 box mean (sum / 25, truncated) of every interior pixel and channel; the two-pixel
// border keeps its own values. Column sums over five rows make it O(1) per pixel; the sums are
// exactly those of the direct 25-sample loop.
std::vector<uint8_t> BoxBlur(const Image& image) {
    const int w = image.width();
    const int h = image.height();
    std::vector<uint8_t> blurred(image.data(), image.data() + image.size_bytes());
    std::vector<uint32_t> columns(image.stride());
    for (int y = kRadius; y < h - kRadius; ++y) {
        std::fill(columns.begin(), columns.end(), 0u);
        for (int dy = -kRadius; dy <= kRadius; ++dy) {
            const uint8_t* in = image.row(y + dy);
            for (size_t i = 0; i < columns.size(); ++i) {
                columns[i] += in[i];
            }
        }
        uint8_t* out = blurred.data() + static_cast<size_t>(y) * image.stride();
        for (size_t c = 0; c < 3; ++c) {
            uint32_t sum = 0;
            for (size_t x = 0; x < 2 * kRadius + 1; ++x) {
                sum += columns[3 * x + c];
            }
            for (size_t x = kRadius;; ++x) {
                out[3 * x + c] = static_cast<uint8_t>(sum / 25);
                if (x + kRadius + 1 >= static_cast<size_t>(w)) {
                    break;
                }
                sum += columns[3 * (x + kRadius + 1) + c];
                sum -= columns[3 * (x - kRadius) + c];
            }
        }
    }
    return blurred;
}

}  // namespace

// v = s + k (s - b) with k = gain / 10, computed exactly in integers as (10 s + gain (s - b)) / 10,
// clamped to 0..255 and truncated toward zero.
void UnsharpMask(Image& image, int gain_tenths) {
    if (image.width() < 2 * kRadius + 1 || image.height() < 2 * kRadius + 1) {
        return;
    }
    const std::vector<uint8_t> blurred = BoxBlur(image);
    uint8_t* p = image.data();
    const int64_t gain = gain_tenths;
    for (size_t i = 0; i < blurred.size(); ++i) {
        const int64_t s = p[i];
        const int64_t numerator = 10 * s + gain * (s - blurred[i]);
        p[i] = static_cast<uint8_t>(numerator <= 0 ? 0 : std::min<int64_t>(255, numerator / 10));
    }
}

}  // namespace pelimon
