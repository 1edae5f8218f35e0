#include "imagelib/colour.h"

#include <lcms2.h>

#include <array>
#include <cmath>
#include <memory>

#include "imagelib/codec_support.h"

namespace pelimon {

using namespace imagelib_detail;

namespace {

struct ProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformDelete {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
struct CurveFree {
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};
using ProfilePtr = std::unique_ptr<void, ProfileClose>;
using TransformPtr = std::unique_ptr<void, TransformDelete>;
using CurvePtr = std::unique_ptr<cmsToneCurve, CurveFree>;

ProfilePtr OpenProfile(ByteView icc) {
    if (icc.empty() || icc.size() > static_cast<size_t>(UINT32_MAX)) {
        return nullptr;
    }
    return ProfilePtr(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
}

bool NearXyz(const cmsCIEXYZ* a, const cmsCIEXYZ* b) {
    constexpr double kTolerance = 0.003;
    return a != nullptr && b != nullptr && std::fabs(a->X - b->X) <= kTolerance &&
           std::fabs(a->Y - b->Y) <= kTolerance && std::fabs(a->Z - b->Z) <= kTolerance;
}

bool NearCurve(const cmsToneCurve* a, const cmsToneCurve* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (const float x : {0.02f, 0.1f, 0.3f, 0.5f, 0.7f, 0.9f}) {
        if (std::fabs(cmsEvalToneCurveFloat(a, x) - cmsEvalToneCurveFloat(b, x)) > 0.005f) {
            return false;
        }
    }
    return true;
}

// White points and primaries (x, y) of the H.273 colour primaries lcms2 can model.
struct Primaries {
    cmsCIExyY white;
    cmsCIExyYTRIPLE rgb;
};

Primaries PrimariesOf(int code) {
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    switch (code) {
        case 4:  // BT.470 M, illuminant C
            return {{0.310, 0.316, 1.0}, {{0.67, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.14, 0.08, 1.0}}};
        case 5:  // BT.470 BG
            return {d65, {{0.64, 0.33, 1.0}, {0.29, 0.60, 1.0}, {0.15, 0.06, 1.0}}};
        case 6:  // SMPTE 170M
        case 7:  // SMPTE 240M
            return {d65, {{0.630, 0.340, 1.0}, {0.310, 0.595, 1.0}, {0.155, 0.070, 1.0}}};
        case 9:  // BT.2020
            return {d65, {{0.708, 0.292, 1.0}, {0.170, 0.797, 1.0}, {0.131, 0.046, 1.0}}};
        case 11:  // DCI-P3 (SMPTE RP 431-2), DCI white
            return {{0.314, 0.351, 1.0}, {{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}}};
        case 12:  // Display P3 (SMPTE EG 432-1)
            return {d65, {{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}}};
        default:  // BT.709 / sRGB
            return {d65, {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}}};
    }
}

CurvePtr CurveOf(int transfer) {
    switch (transfer) {
        case 1:
        case 6:
        case 14:
        case 15: {  // BT.709
            const cmsFloat64Number bt709[5] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
            return CurvePtr(cmsBuildParametricToneCurve(nullptr, 4, bt709));
        }
        case 4:
            return CurvePtr(cmsBuildGamma(nullptr, 2.2));
        case 5:
            return CurvePtr(cmsBuildGamma(nullptr, 2.8));
        case 8:
            return CurvePtr(cmsBuildGamma(nullptr, 1.0));
        default: {  // sRGB, and curves an ICC profile cannot express (PQ, HLG)
            const cmsFloat64Number srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
            return CurvePtr(cmsBuildParametricToneCurve(nullptr, 4, srgb));
        }
    }
}

}  // namespace

bool IsSrgbProfile(ByteView icc) {
    const ProfilePtr profile = OpenProfile(icc);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData) {
        return true;
    }
    const ProfilePtr srgb(cmsCreate_sRGBProfile());
    for (const cmsTagSignature tag : {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag}) {
        if (!NearXyz(static_cast<const cmsCIEXYZ*>(cmsReadTag(profile.get(), tag)),
                     static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), tag)))) {
            return false;
        }
    }
    for (const cmsTagSignature tag : {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag}) {
        if (!NearCurve(static_cast<const cmsToneCurve*>(cmsReadTag(profile.get(), tag)),
                       static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), tag)))) {
            return false;
        }
    }
    return true;
}

bool IsSrgbNclx(const NclxColour& nclx) {
    return nclx.primaries == 1 || nclx.primaries == 2;
}

Bytes IccProfileForNclx(const NclxColour& nclx) {
    const Primaries primaries = PrimariesOf(nclx.primaries);
    const CurvePtr curve = CurveOf(nclx.transfer);
    if (!curve) {
        return {};
    }
    cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
    const ProfilePtr profile(cmsCreateRGBProfile(&primaries.white, &primaries.rgb, curves));
    if (!profile) {
        return {};
    }
    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0) {
        return {};
    }
    Bytes out(size);
    if (!cmsSaveProfileToMem(profile.get(), out.data(), &size)) {
        return {};
    }
    out.resize(size);
    return out;
}

Status ConvertToSrgb(Image& image, ByteView icc) {
    const ProfilePtr source = OpenProfile(icc);
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData) {
        return UnsupportedError(imagelib_texts::kIccProfile);
    }
    const ProfilePtr srgb(cmsCreate_sRGBProfile());
    const TransformPtr transform(cmsCreateTransform(source.get(), TYPE_RGB_8, srgb.get(), TYPE_RGB_8,
                                                    INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_BLACKPOINTCOMPENSATION));
    if (!transform) {
        return UnsupportedError(imagelib_texts::kIccProfile);
    }
    for (int y = 0; y < image.height(); ++y) {
        cmsDoTransform(transform.get(), image.row(y), image.row(y), static_cast<cmsUInt32Number>(image.width()));
    }
    return {};
}

CmykToSrgb::CmykToSrgb(ByteView icc) {
    const ProfilePtr source = OpenProfile(icc);
    if (!source || cmsGetColorSpace(source.get()) != cmsSigCmykData) {
        return;
    }
    const ProfilePtr srgb(cmsCreate_sRGBProfile());
    transform_ = cmsCreateTransform(source.get(), TYPE_CMYK_8, srgb.get(), TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                                    cmsFLAGS_BLACKPOINTCOMPENSATION);
}

CmykToSrgb::~CmykToSrgb() {
    if (transform_ != nullptr) {
        cmsDeleteTransform(transform_);
    }
}

void CmykToSrgb::Convert(const uint8_t* cmyk, uint8_t* rgb, size_t pixels) const {
    cmsDoTransform(transform_, cmyk, rgb, static_cast<cmsUInt32Number>(pixels));
}

}  // namespace pelimon
