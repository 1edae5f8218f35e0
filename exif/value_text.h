// The pieces the Exif value formatters share: printf into a string, ratios, and the texts of
// ASCII, date and comment values. Internal to exif/.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>

#include "exif/exif_entry.h"
#include "exif/value_bytes.h"

namespace pelimon::value_text {

// snprintf into a string; a text longer than the buffer is cut.
template <class... Args>
std::string Printf(const char* format, Args... args) {
    // Large enough for "%f" of any double.
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
}

// L(k)/L(k+4), unsigned or signed; a zero denominator gives whatever the division gives.
double Ratio(const ValueBytes& v, size_t k);
double SignedRatio(const ValueBytes& v, size_t k);

// L(k)/L(k+4) with a zero denominator counting as 0 (writers store "0/0" for a part left empty).
double RatioOrZero(const ValueBytes& v, size_t k);

// At most two decimals and no trailing zeros: 1.54, 6, 1.8.
std::string ShortNumber(double value);

// Unit size × count of the entry.
size_t ByteLength(const ExifEntry& entry);

// A text value up to its first zero byte, never beyond the entry's own length.
std::string Text(const ExifEntry& entry, const ValueBytes& v);

// Dates are stored "YYYY:MM:DD HH:MM:SS"; shown "YYYY/MM/DD HH:MM:SS" (the first two colons).
std::string DateText(const ExifEntry& entry, const ValueBytes& v);

// A comment: the 8-byte character-code prefix is skipped, the rest is text up to its first zero
// byte; shorter than the prefix gives an empty text.
std::string CommentText(const ExifEntry& entry, const ValueBytes& v);

}  // namespace pelimon::value_text
