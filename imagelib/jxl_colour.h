// Linear and HDR JPEG XL pixels (linear light, PQ, HLG) turned into 8-bit sRGB: HDR is tone-mapped
// so that its reference white (203 cd/m²) becomes sRGB's white and its highlights roll off
// smoothly up to the image's peak, the primaries are converted with lcms2 (relative
// colorimetric), and alpha is composited over white.
#pragma once

#include <jxl/color_encoding.h>

#include <cstddef>
#include <memory>

#include "common/result.h"
#include "imagelib/image.h"

namespace pelimon::imagelib_detail {

class JxlFloatConverter {
  public:
    // `encoding` describes the pixels; `peak` is the image's brightest value in cd/m².
    JxlFloatConverter(const JxlColorEncoding& encoding, float peak);
    JxlFloatConverter(const JxlFloatConverter&) = delete;
    JxlFloatConverter& operator=(const JxlFloatConverter&) = delete;
    ~JxlFloatConverter();
    // False when lcms2 cannot model the primaries.
    bool ok() const { return ok_; }
    // Converts `count` pixels of `channels` floats each (RGB or RGBA, 0..1) into `out` (3 bytes
    // per pixel). Not thread-safe: one converter per decode.
    void Convert(const float* pixels, size_t count, size_t channels, uint8_t* out);

  private:
    struct Transform;
    JxlTransferFunction transfer_;
    float peak_;  // relative to reference white
    bool ok_ = false;
    std::unique_ptr<Transform> transform_;  // null when the primaries are sRGB's
};

}  // namespace pelimon::imagelib_detail
