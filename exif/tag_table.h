// The Exif tag catalogue: tag numbers with their display names, in Japanese (res/exif-tags.txt)
// and English (res/exif-tags-en.txt, the same rows); both are compiled into the program.
//
// A tag number names different things in different directories: the GPS IFD numbers its tags
// from 0 (0x0001 is the latitude's N/S there and the interoperability index elsewhere), and IFD0
// shares some numbers with IFD1 where they describe the main image instead of the thumbnail
// (0x011A is the image's resolution in IFD0, the thumbnail's in IFD1). So each row has a scope.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/language.h"

namespace pelimon {

// The directory an entry was read from.
enum class ExifDirectory : uint8_t { kMain, kSub, kInterop, kThumbnail, kGps };

// Which directories a catalogue row names its tag in: kCommon every directory but the GPS IFD;
// kMain IFD0, before its kCommon row; kGps the GPS IFD, whose tags have no other rows.
enum class TagScope : uint8_t { kCommon, kMain, kGps };

struct TagTable {
    std::vector<uint16_t> numbers;   // grouped by scope in TagScope's order, ascending within a scope
    std::vector<std::string> names;  // UTF-8, same index as numbers
    std::vector<TagScope> scopes;    // same index as numbers

    // The rows of one scope: [first, second), for FindTag.
    std::pair<int, int> Rows(TagScope scope) const;
};

// Parses the catalogue text: line 1 holds the row count in decimal, then each line holds a tag
// number in hexadecimal, a TAB and the name. A tag number may carry its scope in front of a colon,
// "main:011a" or "gps:0002"; without one the row is kCommon. Each scope's rows must be listed in
// ascending order. Tokens are split at TAB and LF, a CR before the LF is dropped. Reading stops
// when the row count is reached or the tokens run out, and a row of an unknown scope is left out,
// so a short or damaged text gives a shorter table, never a failure.
TagTable ParseTagTable(std::string_view text);

// The catalogue compiled into the program in the current language (or the one given), parsed
// once on first use: res/exif-tags.txt in Japanese, res/exif-tags-en.txt in every other language.
// Immutable afterwards, so any thread may use it.
const TagTable& BuiltinTagTable();
const TagTable& BuiltinTagTable(std::string_view language);

// Binary search for `tag` in numbers[low, high); the index, or -1 when it is not there.
// Indices outside the array are clamped to it.
int FindTag(uint16_t tag, std::span<const uint16_t> numbers, int low, int high);

// The row that names `tag` in `directory`: a GPS tag among the kGps rows; an IFD0 tag among the
// kMain rows, then the kCommon ones; any other among the kCommon rows. -1 when there is none.
int FindTagIn(const TagTable& table, ExifDirectory directory, uint16_t tag);

}  // namespace pelimon
