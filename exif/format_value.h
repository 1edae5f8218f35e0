// Display texts of Exif values, tag by tag: enumerations as words, rationals as fractions, APEX
// values as F-numbers, exposure times and EV, lens ranges.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "exif/exif_entry.h"

namespace pelimon {

// The value text of `entry` (its tag, unit size and count are used) whose value bytes are
// `value`: the entry's 4-byte value field when unit size × count is at most 4 or the tag is the
// maker note (0x927C), otherwise the unit size × count bytes at its offset. `speed` is the
// most recent ISO speed of the file (0 when none), for the brightness text. Tags without a rule
// give an empty text. Never reads outside `value`; missing bytes count as 0.
std::string FormatTagValue(const ExifEntry& entry, std::span<const uint8_t> value, bool little_endian, uint32_t speed);

}  // namespace pelimon
