#include "imagelib/jxl_colour.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace pelimon::imagelib_detail {

namespace {

constexpr float kReferenceWhite = 203;  // cd/m², the HDR level of SDR white (ITU-R BT.2408)
constexpr float kKnee = 0.8f;           // below this share of white, HDR is passed as it is

struct Chromaticities {
    cmsCIExyY white;
    cmsCIExyYTRIPLE rgb;
};

bool ChromaticitiesOf(const JxlColorEncoding& encoding, Chromaticities& out) {
    const auto xy = [](double x, double y) { return cmsCIExyY{x, y, 1.0}; };
    switch (encoding.white_point) {
        case JXL_WHITE_POINT_D65:
            out.white = xy(0.3127, 0.3290);
            break;
        case JXL_WHITE_POINT_E:
            out.white = xy(1.0 / 3, 1.0 / 3);
            break;
        case JXL_WHITE_POINT_DCI:
            out.white = xy(0.314, 0.351);
            break;
        case JXL_WHITE_POINT_CUSTOM:
            out.white = xy(encoding.white_point_xy[0], encoding.white_point_xy[1]);
            break;
        default:
            return false;
    }
    switch (encoding.primaries) {
        case JXL_PRIMARIES_SRGB:
            out.rgb = {xy(0.64, 0.33), xy(0.30, 0.60), xy(0.15, 0.06)};
            break;
        case JXL_PRIMARIES_2100:
            out.rgb = {xy(0.708, 0.292), xy(0.170, 0.797), xy(0.131, 0.046)};
            break;
        case JXL_PRIMARIES_P3:
            out.rgb = {xy(0.680, 0.320), xy(0.265, 0.690), xy(0.150, 0.060)};
            break;
        case JXL_PRIMARIES_CUSTOM:
            out.rgb = {xy(encoding.primaries_red_xy[0], encoding.primaries_red_xy[1]),
                       xy(encoding.primaries_green_xy[0], encoding.primaries_green_xy[1]),
                       xy(encoding.primaries_blue_xy[0], encoding.primaries_blue_xy[1])};
            break;
        default:
            return false;
    }
    return true;
}

// A profile of linear light with the given chromaticities.
cmsHPROFILE LinearProfile(const Chromaticities& c) {
    cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* curves[3] = {linear, linear, linear};
    cmsHPROFILE profile = cmsCreateRGBProfile(&c.white, &c.rgb, curves);
    cmsFreeToneCurve(linear);
    return profile;
}

float PqToLinear(float v) {
    constexpr float m1 = 2610.0f / 16384, m2 = 2523.0f / 4096 * 128, c1 = 3424.0f / 4096, c2 = 2413.0f / 4096 * 32,
                    c3 = 2392.0f / 4096 * 32;
    const float p = std::pow(std::max(v, 0.0f), 1 / m2);
    return 10000 * std::pow(std::max(p - c1, 0.0f) / (c2 - c3 * p), 1 / m1) / kReferenceWhite;
}

float HlgToScene(float v) {
    constexpr float a = 0.17883277f, b = 0.28466892f, c = 0.55991073f;
    v = std::max(v, 0.0f);
    return v <= 0.5f ? v * v / 3 : (std::exp((v - c) / a) + b) / 12;
}

float SrgbEncode(float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    return v <= 0.0031308f ? 12.92f * v : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f;
}

// Highlights above the knee roll off towards white, with no kink at the knee.
float RollOff(float y) {
    return y <= kKnee ? y : kKnee + (1 - kKnee) * (1 - std::exp(-(y - kKnee) / (1 - kKnee)));
}

}  // namespace

struct JxlFloatConverter::Transform {
    cmsHTRANSFORM handle = nullptr;
    ~Transform() { cmsDeleteTransform(handle); }
};

JxlFloatConverter::JxlFloatConverter(const JxlColorEncoding& encoding, float peak)
    : transfer_(encoding.transfer_function), peak_(1) {
    if (transfer_ == JXL_TRANSFER_FUNCTION_PQ) {
        peak_ = std::max(peak, kReferenceWhite) / kReferenceWhite;
    } else if (transfer_ == JXL_TRANSFER_FUNCTION_HLG) {
        peak_ = 1000 / kReferenceWhite;  // HLG's nominal display
    }
    if (encoding.color_space == JXL_COLOR_SPACE_GRAY ||
        (encoding.primaries == JXL_PRIMARIES_SRGB && encoding.white_point == JXL_WHITE_POINT_D65)) {
        ok_ = true;
        return;
    }
    Chromaticities source{};
    Chromaticities srgb{};
    JxlColorEncoding srgb_encoding{};
    srgb_encoding.white_point = JXL_WHITE_POINT_D65;
    srgb_encoding.primaries = JXL_PRIMARIES_SRGB;
    if (!ChromaticitiesOf(encoding, source) || !ChromaticitiesOf(srgb_encoding, srgb)) {
        return;
    }
    cmsHPROFILE from = LinearProfile(source);
    cmsHPROFILE to = LinearProfile(srgb);
    if (from != nullptr && to != nullptr) {
        transform_ = std::make_unique<Transform>();
        transform_->handle = cmsCreateTransform(from, TYPE_RGB_FLT, to, TYPE_RGB_FLT, INTENT_RELATIVE_COLORIMETRIC,
                                                cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE);
        ok_ = transform_->handle != nullptr;
    }
    cmsCloseProfile(from);
    cmsCloseProfile(to);
}

JxlFloatConverter::~JxlFloatConverter() = default;

void JxlFloatConverter::Convert(const float* pixels, size_t count, size_t channels, uint8_t* out) {
    const bool alpha = channels == 4;
    for (size_t i = 0; i < count; ++i) {
        const float* p = pixels + i * channels;
        std::array<float, 3> rgb{p[0], p[1], p[2]};
        if (transfer_ == JXL_TRANSFER_FUNCTION_HLG) {
            for (float& v : rgb) {
                v = HlgToScene(v);
            }
            // The HLG reference OOTF (system gamma 1.2 at 1000 cd/m²), in units of reference white.
            const float scene_y = 0.2627f * rgb[0] + 0.6780f * rgb[1] + 0.0593f * rgb[2];
            const float gain = peak_ * std::pow(std::max(scene_y, 1e-6f), 0.2f);
            for (float& v : rgb) {
                v *= gain;
            }
        } else if (transfer_ == JXL_TRANSFER_FUNCTION_PQ) {
            for (float& v : rgb) {
                v = PqToLinear(v);
            }
        }
        if (transform_) {
            cmsDoTransform(transform_->handle, rgb.data(), rgb.data(), 1);
        }
        if (peak_ > 1) {
            const float y = 0.2126f * rgb[0] + 0.7152f * rgb[1] + 0.0722f * rgb[2];
            if (y > kKnee) {
                const float scale = RollOff(y) / y;
                for (float& v : rgb) {
                    v *= scale;
                }
            }
        }
        const float a = alpha ? std::clamp(p[channels - 1], 0.0f, 1.0f) : 1.0f;
        for (size_t c = 0; c < 3; ++c) {
            const float over_white = SrgbEncode(rgb[c]) * a + (1 - a);
            out[3 * i + c] = static_cast<uint8_t>(std::lround(over_white * 255));
        }
    }
}

}  // namespace pelimon::imagelib_detail
