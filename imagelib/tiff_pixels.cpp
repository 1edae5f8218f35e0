#include "imagelib/tiff_pixels.h"

#include <algorithm>
#include <cstring>

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

namespace {

// The sample at `index` of a row of `bits`-bit samples (libtiff gives 16-bit ones in native order).
uint32_t SampleAt(const uint8_t* row, size_t index, int bits) {
    switch (bits) {
        case 8:
            return row[index];
        case 16: {
            uint16_t value = 0;
            std::memcpy(&value, row + 2 * index, 2);
            return value;
        }
        default: {
            const size_t bit = index * static_cast<size_t>(bits);
            const auto shift = static_cast<unsigned>(8 - bits - static_cast<int>(bit % 8));
            return (row[bit / 8] >> shift) & ((1u << bits) - 1);
        }
    }
}

uint8_t To8Bits(uint32_t value, int bits) {
    switch (bits) {
        case 8:
            return static_cast<uint8_t>(value);
        case 16:
            return static_cast<uint8_t>((value * 255 + 32895) >> 16);  // round(value / 257)
        default:
            return static_cast<uint8_t>(value * 255 / ((1u << bits) - 1));
    }
}

uint8_t Ink(uint8_t colour, uint8_t black) {
    return static_cast<uint8_t>(((255u - colour) * (255u - black) + 127) / 255);
}

}  // namespace

TiffRowConverter::TiffRowConverter(const TiffPixelLayout& layout, const CmykToSrgb* cmyk_profile)
    : layout_(layout), cmyk_profile_(cmyk_profile) {
    eight_bit_palette_ = std::all_of(layout.palette.begin(), layout.palette.end(), [](uint16_t v) { return v < 256; });
    samples_.resize(size_t{layout.width} * layout.samples);
    if (cmyk_profile_ != nullptr) {
        cmyk_.resize(size_t{layout.width} * 4);
    }
}

const uint8_t* TiffRowConverter::EightBitSamples(std::span<const uint8_t* const> planes) {
    const size_t width = layout_.width;
    const size_t samples = layout_.samples;
    if (layout_.bits == 8 && !layout_.separate) {
        return planes[0];
    }
    const bool index = layout_.kind == TiffPixelKind::kPalette;
    uint8_t* out = samples_.data();
    if (layout_.bits == 16 && !layout_.separate) {
        // The common deep kind, in one tight loop.
        const uint8_t* in = planes[0];
        for (size_t i = 0; i < width * samples; ++i) {
            uint16_t value = 0;
            std::memcpy(&value, in + 2 * i, 2);
            out[i] = To8Bits(value, 16);
        }
        return samples_.data();
    }
    for (size_t x = 0; x < width; ++x) {
        for (size_t s = 0; s < samples; ++s) {
            const uint32_t value = layout_.separate ? SampleAt(planes[s], x, layout_.bits)
                                                    : SampleAt(planes[0], x * samples + s, layout_.bits);
            *out++ = index ? static_cast<uint8_t>(value) : To8Bits(value, layout_.bits);
        }
    }
    return samples_.data();
}

void TiffRowConverter::Convert(std::span<const uint8_t* const> planes, uint8_t* rgb) {
    const uint8_t* in = EightBitSamples(planes);
    const size_t width = layout_.width;
    const size_t step = layout_.samples;
    if (layout_.kind == TiffPixelKind::kCmyk && cmyk_profile_ != nullptr) {
        for (size_t x = 0; x < width; ++x) {
            std::memcpy(cmyk_.data() + 4 * x, in + x * step, 4);
        }
        cmyk_profile_->Convert(cmyk_.data(), rgb, width);
    }
    if (layout_.alpha < 0 && layout_.kind == TiffPixelKind::kRgb) {
        for (size_t x = 0; x < width; ++x) {
            std::memcpy(rgb + 3 * x, in + x * step, 3);
        }
        return;
    }
    const size_t entries = layout_.palette.size() / 3;
    for (size_t x = 0; x < width; ++x) {
        const uint8_t* p = in + x * step;
        uint8_t* out = rgb + 3 * x;
        switch (layout_.kind) {
            case TiffPixelKind::kGrey:
                out[0] = out[1] = out[2] = p[0];
                break;
            case TiffPixelKind::kWhiteIsZero:
                out[0] = out[1] = out[2] = static_cast<uint8_t>(255 - p[0]);
                break;
            case TiffPixelKind::kPalette:
                for (size_t c = 0; c < 3; ++c) {
                    const uint32_t value = layout_.palette[c * entries + std::min<size_t>(p[0], entries - 1)];
                    out[c] = eight_bit_palette_ ? static_cast<uint8_t>(value) : To8Bits(value, 16);
                }
                break;
            case TiffPixelKind::kRgb:
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
                break;
            case TiffPixelKind::kCmyk:
                if (cmyk_profile_ == nullptr) {
                    out[0] = Ink(p[0], p[3]);
                    out[1] = Ink(p[1], p[3]);
                    out[2] = Ink(p[2], p[3]);
                }
                break;
        }
        if (layout_.alpha >= 0) {
            const uint8_t alpha = p[layout_.alpha];
            for (size_t c = 0; c < 3; ++c) {
                out[c] = layout_.associated ? static_cast<uint8_t>(std::min(255, out[c] + 255 - alpha))
                                            : OverWhite(out[c], alpha);
            }
        }
    }
}

void PremultipliedAbgrToRgb(const uint32_t* abgr, size_t pixels, uint8_t* rgb) {
    for (size_t x = 0; x < pixels; ++x) {
        const uint32_t pixel = abgr[x];
        const uint32_t transparency = 255 - (pixel >> 24);
        for (size_t c = 0; c < 3; ++c) {
            rgb[3 * x + c] = static_cast<uint8_t>(std::min(255u, ((pixel >> (8 * c)) & 0xFF) + transparency));
        }
    }
}

}  // namespace pelimon::imagelib_detail
