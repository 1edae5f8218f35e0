// Reading the boxes of a HEIF/AVIF file held in memory, for the checks and the geometry this
// library reads itself before or beside libheif. Every read stays inside the span it is given.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

struct HeifBox {
    uint32_t type = 0;
    size_t body = 0;  // offset of the first byte after the header
    size_t end = 0;   // offset after the box
};

// The four-character code `name` as a box type.
constexpr uint32_t HeifBoxType(const char (&name)[5]) {
    return uint32_t{static_cast<uint8_t>(name[0])} << 24 | uint32_t{static_cast<uint8_t>(name[1])} << 16 |
           uint32_t{static_cast<uint8_t>(name[2])} << 8 | uint32_t{static_cast<uint8_t>(name[3])};
}

// The box at `at` within [at, limit) of `bytes`; false when its header does not fit or its size
// is wrong. A size of 0 reaches to `limit`.
bool ReadHeifBox(ByteView bytes, size_t at, size_t limit, HeifBox& box);

// Reads an unsigned big-endian field of 0..8 bytes and moves `at` past it; bytes beyond the span
// read as 0.
uint64_t ReadHeifField(ByteView bytes, size_t& at, unsigned size);

}  // namespace pelimon::imagelib_detail
