// The Exif tag catalogue: tag numbers in ascending order with their display names, in Japanese
// (res/exif-tags.txt) and English (res/exif-tags-en.txt, the same tags); both are compiled into
// the program.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"

namespace pelimon {

struct TagTable {
    std::vector<uint16_t> numbers;   // ascending, as FindTag requires
    std::vector<std::string> names;  // UTF-8, same index as numbers
};

// Parses the catalogue text: line 1 holds the row count in decimal, then each line holds a tag
// number in hexadecimal, a TAB and the name. Tokens are split at TAB and LF, a CR before the LF
// is dropped. Reading stops when the row count is reached or the tokens run out, so a short or
// damaged text gives a shorter table, never a failure.
TagTable ParseTagTable(std::string_view text);

// The catalogue compiled into the program in the current language (or the one given), parsed
// once on first use. Immutable afterwards, so any thread may use it.
const TagTable& BuiltinTagTable();
const TagTable& BuiltinTagTable(Language language);

// Binary search for `tag` in numbers[low, high); the index, or -1 when it is not there.
// Indices outside the array are clamped to it.
int FindTag(uint16_t tag, std::span<const uint16_t> numbers, int low, int high);

}  // namespace pelimon
