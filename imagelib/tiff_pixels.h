// Converting a TIFF's rows of samples, as libtiff gives them, into RGB: grey (either polarity),
// palette, RGB and CMYK of 1 to 16 bits, contiguous or in separate planes, with alpha composited
// over white. 16-bit samples are rounded to the nearest 8-bit level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imagelib/colour.h"

namespace pelimon::imagelib_detail {

enum class TiffPixelKind { kGrey, kWhiteIsZero, kPalette, kRgb, kCmyk };

struct TiffPixelLayout {
    TiffPixelKind kind = TiffPixelKind::kGrey;
    uint32_t width = 0;
    uint16_t bits = 8;              // per sample: 1, 2, 4, 8 or 16 (palette up to 8, RGB and CMYK 8 or 16)
    uint16_t samples = 1;           // per pixel, extra samples included
    uint16_t colour_samples = 1;    // 1 grey or palette, 3 RGB, 4 CMYK
    bool separate = false;          // one plane per sample
    int alpha = -1;                 // the sample that holds alpha, or -1
    bool associated = false;        // alpha already multiplied into the colours
    std::vector<uint16_t> palette;  // 2^bits red, then green, then blue values (16-bit, as TIFF stores them)
};

class TiffRowConverter {
  public:
    // `cmyk_profile` (may be null) converts CMYK; without it CMYK becomes RGB by the plain formula
    // R = (255 - C)(255 - K) / 255. It must outlive the converter.
    TiffRowConverter(const TiffPixelLayout& layout, const CmykToSrgb* cmyk_profile);

    // Converts one row: planes[0] for contiguous samples, planes[s] for sample s in separate
    // planes; each holds at least the row's samples. Writes layout.width RGB pixels to `rgb`.
    void Convert(std::span<const uint8_t* const> planes, uint8_t* rgb);

  private:
    const uint8_t* EightBitSamples(std::span<const uint8_t* const> planes);

    const TiffPixelLayout& layout_;
    const CmykToSrgb* cmyk_profile_;
    bool eight_bit_palette_ = false;  // a colour map written with 8-bit values, as some old writers did
    std::vector<uint8_t> samples_;    // the row as 8-bit interleaved samples (palette: indices)
    std::vector<uint8_t> cmyk_;       // CMYK packed for the profile
};

// Composites libtiff's RGBA raster pixels (ABGR in a 32-bit word, colours premultiplied) over
// white into RGB.
void PremultipliedAbgrToRgb(const uint32_t* abgr, size_t pixels, uint8_t* rgb);

}  // namespace pelimon::imagelib_detail
