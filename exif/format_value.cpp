#include "exif/format_value.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "exif/exif_texts.h"
#include "exif/format_enums.h"
#include "exif/value_bytes.h"
#include "exif/value_text.h"

namespace pelimon {
namespace {

using namespace value_text;

std::string ComponentsText(const ValueBytes& v) {
    const std::string code =
        Printf("%02x%02x%02x%02x", unsigned{v.Byte(0)}, unsigned{v.Byte(1)}, unsigned{v.Byte(2)}, unsigned{v.Byte(3)});
    if (code == "04050600") {
        return exif_texts::kComponentsRgb.str();
    }
    return (code == "01020300" ? exif_texts::kComponentsYcbcr : exif_texts::kUnknown).str();
}

std::string CfaPatternText(const ExifEntry& entry, const ValueBytes& v) {
    std::string text =
        Printf("%02x%02x,%02x%02x", unsigned{v.Byte(0)}, unsigned{v.Byte(1)}, unsigned{v.Byte(2)}, unsigned{v.Byte(3)});
    const size_t end = std::min(ByteLength(entry), v.size());
    for (size_t k = 4; k < end; ++k) {
        text += Printf(",%02x", unsigned{v.Byte(k)});
    }
    return text;
}

std::string SixFractions(const ValueBytes& v) {
    std::string text;
    for (size_t k = 0; k < 6; ++k) {
        text += Printf("%u/%u ", v.Long(8 * k), v.Long(8 * k + 4));
    }
    return text;
}

std::string ShutterSpeedText(const ValueBytes& v) {
    const double tv = SignedRatio(v, 0);
    if (tv >= 0) {
        return Printf("1/%.0f %s", std::pow(2.0, tv), exif_texts::kSecondsUnit.c_str());
    }
    return Printf("%0.2f %s", std::pow(2.0, -tv), exif_texts::kSecondsUnit.c_str());
}

std::string SubsamplingText(const ValueBytes& v) {
    const uint16_t horizontal = v.Short(0);
    const uint16_t vertical = v.Short(2);
    if (horizontal == 2 && vertical == 1) {
        return "YCbCr 4:2:2";
    }
    return (horizontal == 2 && vertical == 2) ? "YCbCr 4:2:0" : exif_texts::kUnknown.str();
}

// A ratio that says something: a zero denominator or numerator (writers store 0/0 or 0/1 for
// "not known") gives std::nullopt.
std::optional<double> KnownRatio(const ValueBytes& v, size_t k) {
    const uint32_t numerator = v.Long(k);
    const uint32_t denominator = v.Long(k + 4);
    if (numerator == 0 || denominator == 0) {
        return std::nullopt;
    }
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

// "18-55" for a range, "50" when both ends are the same or only one is known.
std::string RangeText(std::optional<double> low, std::optional<double> high) {
    if (!low || !high) {
        return low ? ShortNumber(*low) : high ? ShortNumber(*high) : std::string();
    }
    const std::string first = ShortNumber(*low);
    const std::string last = ShortNumber(*high);
    return first == last ? first : first + "-" + last;
}

// LensSpecification: the shortest and longest focal lengths, then the smallest F-numbers at each;
// parts the camera does not know are left out ("18-55 mm" for 18/1 55/1 0/0 0/0).
std::string LensSpecificationText(const ValueBytes& v) {
    const std::string focal = RangeText(KnownRatio(v, 0), KnownRatio(v, 8));
    const std::string aperture = RangeText(KnownRatio(v, 16), KnownRatio(v, 24));
    std::string text = focal.empty() ? std::string() : focal + " mm";
    if (!aperture.empty()) {
        text += (text.empty() ? "F" : " F") + aperture;
    }
    return text;
}

}  // namespace

std::string FormatTagValue(const ExifEntry& entry, std::span<const uint8_t> value, bool little_endian, uint32_t speed) {
    const ValueBytes v(value, little_endian, entry.unit_size);
    switch (entry.tag) {
        case 0x0001:
        case 0x010E:
        case 0x010F:
        case 0x0110:
        case 0x0131:
        case 0x1000:
        case 0x8298:
        case 0x9290:
        case 0x9291:
        case 0x9292:
        case 0xA004:
        case 0xA433:
        case 0xA434:
        case 0xA435:
        // Versions are four characters ("0220"); some writers store them as ASCII with a
        // terminating zero, which ends the text as well.
        case 0x0002:
        case 0x9000:
        case 0xA000:
            return Text(entry, v);
        case 0x0132:
        case 0x9003:
        case 0x9004:
            return DateText(entry, v);
        case 0x0100:
        case 0x0101:
        case 0x1001:
        case 0x1002:
        case 0xA002:
        case 0xA003:
            return Printf("%u (pixel)", v.Number());
        case 0x0111:
        case 0x0201:
        case 0x0202:
        case 0x8769:
        case 0x8825:
        case 0xA005:
            return Printf("%u %s", v.Number(), exif_texts::kBytesUnit.c_str());
        case 0x927C:
            // The maker note is never fetched: its value field is its offset.
            return Printf("%u %s", v.Long(0), exif_texts::kBytesUnit.c_str());
        case 0x0115:
        case 0x0116:
        case 0x0117:
        case 0x8827:
        case 0xA405:
            return Printf("%u", v.Number());
        case 0x0102:
            return Printf("%u,%u,%u", unsigned{v.Short(0)}, unsigned{v.Short(2)}, unsigned{v.Short(4)});
        case 0x011A:
        case 0x011B:
        case 0x9102:
        case 0xA20E:
        case 0xA20F:
        case 0xA215:
        case 0xA404:
            return Printf("%u/%u", v.Long(0), v.Long(4));
        case 0x013E:
            return Printf("%u/%u, %u/%u", v.Long(0), v.Long(4), v.Long(8), v.Long(12));
        case 0x013F:
        case 0x0214:
            return SixFractions(v);
        case 0x0211:
            return Printf("%f, %f, %f", Ratio(v, 0), Ratio(v, 8), Ratio(v, 16));
        case 0x0212:
            return SubsamplingText(v);
        case 0x829A:
            return Printf("%u/%u %s", v.Long(0), v.Long(4), exif_texts::kSecondsUnit.c_str());
        case 0x829D:
            return Printf("F%3.1f", Ratio(v, 0));
        case 0x9201:
            return ShutterSpeedText(v);
        case 0x9202:
        case 0x9205:
            return Printf("F%3.1f", std::pow(std::sqrt(2.0), Ratio(v, 0)));
        case 0x9203:
            // Brightness Bv with the file's ISO speed: EV = Bv + log2(ISO / 3.125).
            return Printf("EV%.1f", SignedRatio(v, 0) + std::log2(static_cast<double>(speed) / 3.125));
        case 0x9204:
            return Printf("EV%.1f", SignedRatio(v, 0));
        case 0x9206:
            return Printf("%.1f (m)", SignedRatio(v, 0));
        case 0x920A:
            return Printf("%4.2f (mm)", Ratio(v, 0));
        case 0x9101:
            return ComponentsText(v);
        case 0x9286:
            return CommentText(entry, v);
        case 0xA300:
            return (v.Byte(0) == 0x03 ? exif_texts::kDigitalCamera : exif_texts::kUnknown).str();
        case 0xA301:
            return (v.Byte(0) == 0x01 ? exif_texts::kDirectlyPhotographed : exif_texts::kUnknown).str();
        case 0xA302:
            return CfaPatternText(entry, v);
        case 0xA432:
            return LensSpecificationText(v);
        default:
            return EnumerationText(entry.tag, v.Number()).value_or(std::string());
    }
}

}  // namespace pelimon
