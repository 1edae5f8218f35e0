// Per-pixel filters: grey, colour tone and contrast.
#include <algorithm>
#include <array>
#include <cmath>

#include "imagelib/imagelib.h"

namespace pelimon {

namespace {

// ITU-R BT.601 luma, Y = 0.299 R + 0.587 G + 0.114 B, in 16-bit fixed point; the weights sum to
// exactly 65536 so that greys stay unchanged.
uint32_t Luma(const uint8_t* p) {
    return (19595u * p[0] + 38470u * p[1] + 7471u * p[2] + 32768u) >> 16;
}

}  // namespace

void Grayscale(Image& image) {
    uint8_t* p = image.data();
    const size_t pixels = image.size_bytes() / 3;
    for (size_t i = 0; i < pixels; ++i, p += 3) {
        const auto y = static_cast<uint8_t>(Luma(p));
        p[0] = p[1] = p[2] = y;
    }
}

void ColorTone(Image& image, int red, int green, int blue) {
    const std::array<int64_t, 3> factors{red, green, blue};
    uint8_t* p = image.data();
    const size_t pixels = image.size_bytes() / 3;
    for (size_t i = 0; i < pixels; ++i, p += 3) {
        const int64_t grey = Luma(p);
        for (size_t c = 0; c < 3; ++c) {
            p[c] = static_cast<uint8_t>(std::clamp<int64_t>(grey * factors[c] / 1000, 0, 255));
        }
    }
}

// Contrast around mid-grey 128: v' = 128 + (v - 128) * f, rounded and clamped, with
//   f = (128 + c) / 128  for c <= 0  (fades linearly to flat grey at -128),
//   f = 128 / (128 - c)  for c > 0   (doubles at 64; at 128 every value becomes 0 or 255).
// amount is clamped to -128..128; 0 is the identity.
void Contrast(Image& image, int amount) {
    const int c = std::clamp(amount, -128, 128);
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        double result = 0;
        if (c <= 0) {
            result = 128 + (v - 128) * (128.0 + c) / 128.0;
        } else if (c < 128) {
            result = 128 + (v - 128) * 128.0 / (128.0 - c);
        } else {
            result = v < 128 ? 0 : (v > 128 ? 255 : 128);
        }
        table[static_cast<size_t>(v)] = static_cast<uint8_t>(std::clamp(std::lround(result), 0L, 255L));
    }
    uint8_t* p = image.data();
    for (size_t i = 0; i < image.size_bytes(); ++i) {
        p[i] = table[p[i]];
    }
}

}  // namespace pelimon
