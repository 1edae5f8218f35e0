// Colour management with lcms2: telling an sRGB source from a wide-gamut one, converting pixels
// to sRGB, and describing nclx colour as an ICC profile.
#pragma once

#include "common/result.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// True when `icc` is an RGB matrix/curve profile with sRGB's colorants and tone curve (whatever
// its name), and for profiles lcms2 cannot read or that are not RGB: those are left alone.
bool IsSrgbProfile(ByteView icc);

// True when nclx colour has BT.709 (sRGB) primaries or leaves them unspecified.
bool IsSrgbNclx(const NclxColour& nclx);

// An ICC profile with the primaries, white point and tone curve of `nclx`; empty when lcms2
// cannot build it.
Bytes IccProfileForNclx(const NclxColour& nclx);

// Converts `image` from the colours of `icc` to sRGB, relative colorimetric with black-point
// compensation. Fails, leaving the image unchanged, when lcms2 cannot read the profile or it is
// not an RGB profile.
Status ConvertToSrgb(Image& image, ByteView icc);

// Converts rows of 8-bit CMYK pixels (0 = no ink, 4 bytes each) to sRGB through a CMYK profile,
// relative colorimetric with black-point compensation. One converter per thread.
class CmykToSrgb {
  public:
    // valid() is false when lcms2 cannot read `icc` or it is not a CMYK profile.
    explicit CmykToSrgb(ByteView icc);
    ~CmykToSrgb();
    CmykToSrgb(const CmykToSrgb&) = delete;
    CmykToSrgb& operator=(const CmykToSrgb&) = delete;

    bool valid() const { return transform_ != nullptr; }
    void Convert(const uint8_t* cmyk, uint8_t* rgb, size_t pixels) const;

  private:
    void* transform_ = nullptr;
};

}  // namespace pelimon
