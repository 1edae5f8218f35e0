#include "exif/format_gps.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "exif/exif_texts.h"
#include "exif/value_bytes.h"
#include "exif/value_text.h"

namespace pelimon {
namespace {

using namespace value_text;

// The GPS IFD's tags that other entries read with.
constexpr uint16_t kGpsLatitudeRef = 0x0001;
constexpr uint16_t kGpsLongitudeRef = 0x0003;
constexpr uint16_t kGpsAltitudeRef = 0x0005;
constexpr uint16_t kGpsDestLatitudeRef = 0x0013;
constexpr uint16_t kGpsDestLongitudeRef = 0x0015;

// What the position and altitude texts take from their reference entries.
struct GpsReferences {
    std::string latitude;   // "N", "S" or empty
    std::string longitude;  // "E", "W" or empty
    std::string dest_latitude;
    std::string dest_longitude;
    bool below_sea_level = false;
};

// Degrees, minutes and seconds as degrees with six decimals (about 0.1 m), then the reference.
std::string DegreesText(const ValueBytes& v, const std::string& reference) {
    const double degrees = RatioOrZero(v, 0) + RatioOrZero(v, 8) / 60.0 + RatioOrZero(v, 16) / 3600.0;
    return Printf("%.6f°", degrees) + (reference.empty() ? std::string() : " " + reference);
}

std::string AltitudeText(const ValueBytes& v, bool below_sea_level) {
    const double metres = RatioOrZero(v, 0);
    return Printf("%.1f m", below_sea_level && metres != 0.0 ? -metres : metres);
}

// Hours, minutes and seconds of UTC; seconds keep their hundredths when they have any.
std::string TimeStampText(const ValueBytes& v) {
    const double seconds = RatioOrZero(v, 16);
    const std::string second_text =
        seconds == std::floor(seconds) ? Printf("%02.0f", seconds) : Printf("%05.2f", seconds);
    return Printf("%02.0f:%02.0f:", RatioOrZero(v, 0), RatioOrZero(v, 8)) + second_text + " UTC";
}

// A GPS tag without a rule of its own: ASCII as text, integers and rationals as numbers separated
// by blanks; nothing for other types.
std::string PlainGpsText(const ExifEntry& entry, const ValueBytes& v) {
    if (entry.type == 2) {
        return Text(entry, v);
    }
    const size_t units = entry.unit_size == 0 ? 0 : std::min<size_t>(entry.count, v.size() / entry.unit_size);
    std::string text;
    for (size_t i = 0; i < units; ++i) {
        const size_t k = i * entry.unit_size;
        std::string number;
        switch (entry.type) {
            case 1:
                number = Printf("%u", unsigned{v.Byte(k)});
                break;
            case 3:
                number = Printf("%u", unsigned{v.Short(k)});
                break;
            case 4:
                number = Printf("%u", v.Long(k));
                break;
            case 8:
                number = Printf("%d", int{static_cast<int16_t>(v.Short(k))});
                break;
            case 9:
                number = Printf("%d", v.SignedLong(k));
                break;
            case 5:
                number = ShortNumber(RatioOrZero(v, k));
                break;
            case 10:
                number = v.SignedLong(k + 4) == 0 ? "0" : ShortNumber(SignedRatio(v, k));
                break;
            default:
                return {};
        }
        text += (text.empty() ? "" : " ") + number;
    }
    return text;
}

std::string GpsText(const ExifEntry& entry, const ValueBytes& v, const GpsReferences& refs) {
    switch (entry.tag) {
        case 0x0000:
            return Printf("%u.%u.%u.%u", unsigned{v.Byte(0)}, unsigned{v.Byte(1)}, unsigned{v.Byte(2)},
                          unsigned{v.Byte(3)});
        case 0x0002:
            return DegreesText(v, refs.latitude);
        case 0x0004:
            return DegreesText(v, refs.longitude);
        case 0x0014:
            return DegreesText(v, refs.dest_latitude);
        case 0x0016:
            return DegreesText(v, refs.dest_longitude);
        case kGpsAltitudeRef:
            return (v.Byte(0) == 0   ? exif_texts::kAboveSeaLevel
                    : v.Byte(0) == 1 ? exif_texts::kBelowSeaLevel
                                     : exif_texts::kUnknown)
                .str();
        case 0x0006:
            return AltitudeText(v, refs.below_sea_level);
        case 0x0007:
            return TimeStampText(v);
        case 0x001B:
        case 0x001C:
            return CommentText(entry, v);
        case 0x001D:
            return DateText(entry, v);
        default:
            return PlainGpsText(entry, v);
    }
}

}  // namespace

void FormatGpsValues(std::span<ExifEntry> entries, std::span<const std::span<const uint8_t>> values,
                     bool little_endian) {
    const size_t count = std::min(entries.size(), values.size());
    GpsReferences refs;
    for (size_t i = 0; i < count; ++i) {
        const ExifEntry& entry = entries[i];
        if (values[i].empty()) {
            continue;
        }
        const ValueBytes v(values[i], little_endian, entry.unit_size);
        // A reference is one letter; anything else is not used.
        const std::string letter = Text(entry, v);
        const auto take = [&letter](std::string& reference, std::string_view allowed) {
            if (letter.size() == 1 && allowed.find(letter[0]) != std::string_view::npos) {
                reference = letter;
            }
        };
        switch (entry.tag) {
            case kGpsLatitudeRef:
                take(refs.latitude, "NS");
                break;
            case kGpsLongitudeRef:
                take(refs.longitude, "EW");
                break;
            case kGpsDestLatitudeRef:
                take(refs.dest_latitude, "NS");
                break;
            case kGpsDestLongitudeRef:
                take(refs.dest_longitude, "EW");
                break;
            case kGpsAltitudeRef:
                refs.below_sea_level = v.Byte(0) == 1;
                break;
            default:
                break;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (!values[i].empty()) {
            entries[i].value = GpsText(entries[i], ValueBytes(values[i], little_endian, entries[i].unit_size), refs);
        }
    }
}

}  // namespace pelimon
