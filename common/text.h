// Small text helpers shared by the settings, the parameter file, the batch and the dialogs.
// All text inside pelimon is UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelimon {

// Blanks are space, tab, CR, LF, vertical tab and form feed.
std::string_view TrimBlanks(std::string_view text);

// ASCII-only case folding; bytes >= 0x80 (UTF-8 sequences) are left alone.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The texts one after another, with `separator` between each two.
std::string JoinTexts(std::span<const std::string_view> texts, std::string_view separator);

// Reads a leading decimal integer the way the Windows edit controls and INI functions did:
// optional leading blanks, an optional sign, then digits; the first non-digit ends it.
// No digits gives 0. Values beyond the 32-bit range saturate.
int32_t LeadingInt(std::string_view text);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Text from a file a user may have brought from Windows: returned unchanged when it is valid
// UTF-8 (a UTF-8 byte-order mark is dropped), otherwise decoded from CP932 (Shift_JIS).
// Bytes that are not valid CP932 either become U+FFFD.
std::string DecodeUserText(std::string_view bytes);

// Columns the text takes in a fixed-width font: East Asian wide and full-width characters
// count 2, everything else 1. Invalid UTF-8 bytes count 1 each.
int DisplayWidth(std::string_view utf8);

}  // namespace pelimon
