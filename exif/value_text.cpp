#include "exif/value_text.h"

#include "exif/exif_text.h"

namespace pelimon::value_text {

double Ratio(const ValueBytes& v, size_t k) {
    return static_cast<double>(v.Long(k)) / static_cast<double>(v.Long(k + 4));
}

double SignedRatio(const ValueBytes& v, size_t k) {
    return static_cast<double>(v.SignedLong(k)) / static_cast<double>(v.SignedLong(k + 4));
}

double RatioOrZero(const ValueBytes& v, size_t k) {
    const uint32_t denominator = v.Long(k + 4);
    return denominator == 0 ? 0.0 : static_cast<double>(v.Long(k)) / static_cast<double>(denominator);
}

std::string ShortNumber(double value) {
    std::string text = Printf("%.2f", value);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

size_t ByteLength(const ExifEntry& entry) {
    return static_cast<size_t>(uint64_t{entry.unit_size} * entry.count);
}

std::string Text(const ExifEntry& entry, const ValueBytes& v) {
    return DecodeExifText(UpToZero(v.bytes(), ByteLength(entry)));
}

std::string DateText(const ExifEntry& entry, const ValueBytes& v) {
    std::string text = Text(entry, v);
    const size_t first = text.find(':');
    if (first != std::string::npos) {
        text[first] = '/';
        const size_t second = text.find(':', first + 1);
        if (second != std::string::npos) {
            text[second] = '/';
        }
    }
    return text;
}

std::string CommentText(const ExifEntry& entry, const ValueBytes& v) {
    constexpr size_t kPrefix = 8;
    const size_t length = std::min(ByteLength(entry), v.size());
    if (length < kPrefix) {
        return {};
    }
    return DecodeExifText(UpToZero(v.bytes().subspan(kPrefix), length - kPrefix));
}

}  // namespace pelimon::value_text
