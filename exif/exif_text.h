// Display text of text-like Exif values (ASCII fields, comments).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pelimon {

// Turns the bytes of a text value into UTF-8 for display. Exif says ASCII, but cameras and
// editors also write UTF-8 and, on Japanese systems, Shift_JIS (CP932):
// - printable ASCII is kept as it is;
// - text that is valid UTF-8 is kept, text that is valid CP932 is decoded from it;
// - otherwise every byte outside 0x20..0x7E is written as \xNN;
// - control characters are written as \t, \r, \n or \xNN, so that a value always shows on one
//   line and nothing invisible hides in it.
// `bytes` is the text itself (the caller has cut it at the first zero byte).
std::string DecodeExifText(std::span<const uint8_t> bytes);

// The bytes up to the first zero byte, at most `limit` of them.
std::span<const uint8_t> UpToZero(std::span<const uint8_t> bytes, size_t limit);

}  // namespace pelimon
