// A check of a HEIF file's item locations before libheif reads them. libheif 1.15 allocates the
// length an 'iloc' extent claims before it reads the data (for items stored in 'idat' it does not
// compare that length with anything), so a few hundred bytes could make it allocate gigabytes.
#include <cstdint>

#include "imagelib/codec_support.h"
#include "imagelib/heif_support.h"

namespace pelimon::imagelib_detail {

namespace {

struct Box {
    uint32_t type = 0;
    size_t body = 0;  // offset of the first byte after the header
    size_t end = 0;   // offset after the box
};

constexpr uint32_t Tag(const char (&name)[5]) {
    return uint32_t{static_cast<uint8_t>(name[0])} << 24 | uint32_t{static_cast<uint8_t>(name[1])} << 16 |
           uint32_t{static_cast<uint8_t>(name[2])} << 8 | uint32_t{static_cast<uint8_t>(name[3])};
}

// The box at `at` within [at, limit); false when its header does not fit or its size is wrong.
bool ReadBox(ByteView bytes, size_t at, size_t limit, Box& box) {
    if (at + 8 > limit) {
        return false;
    }
    uint64_t size = ReadBe32(bytes, at);
    box.type = ReadBe32(bytes, at + 4);
    box.body = at + 8;
    if (size == 1) {
        if (at + 16 > limit) {
            return false;
        }
        size = uint64_t{ReadBe32(bytes, at + 8)} << 32 | ReadBe32(bytes, at + 12);
        box.body = at + 16;
    } else if (size == 0) {
        size = limit - at;
    }
    if (size < box.body - at || size > limit - at) {
        return false;
    }
    box.end = at + static_cast<size_t>(size);
    return true;
}

// Reads an unsigned field of 0, 4 or 8 bytes and moves `at` past it.
uint64_t ReadField(ByteView bytes, size_t& at, unsigned size) {
    uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i) {
        value = value << 8 | ReadU8(bytes, at + i);
    }
    at += size;
    return value;
}

// Every extent of the 'iloc' box in [body, end) must claim at most the file's size, and start
// inside the file.
bool ExtentsFit(ByteView bytes, size_t body, size_t end) {
    size_t at = body;
    const unsigned version = ReadU8(bytes, at);
    at += 4;
    const unsigned sizes = ReadBe16(bytes, at);
    at += 2;
    const unsigned offset_size = sizes >> 12;
    const unsigned length_size = (sizes >> 8) & 15;
    const unsigned base_size = (sizes >> 4) & 15;
    const unsigned index_size = version >= 1 ? (sizes & 15) : 0;
    const uint64_t count = version < 2 ? ReadBe16(bytes, at) : ReadBe32(bytes, at);
    at += version < 2 ? 2 : 4;
    const uint64_t file = bytes.size();
    for (uint64_t item = 0; item < count && at < end; ++item) {
        at += version < 2 ? 2 : 4;   // item_ID
        at += version >= 1 ? 2 : 0;  // construction_method
        at += 2;                     // data_reference_index
        const uint64_t base = ReadField(bytes, at, base_size);
        const uint64_t extents = ReadBe16(bytes, at);
        at += 2;
        for (uint64_t e = 0; e < extents && at < end; ++e) {
            ReadField(bytes, at, index_size);
            const uint64_t offset = ReadField(bytes, at, offset_size);
            const uint64_t length = ReadField(bytes, at, length_size);
            if (length > file || base > file || offset > file) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool HeifItemLocationsFit(ByteView bytes) {
    Box top;
    for (size_t at = 0; at < bytes.size() && ReadBox(bytes, at, bytes.size(), top); at = top.end) {
        if (top.type != Tag("meta")) {
            continue;
        }
        Box child;
        for (size_t inner = top.body + 4; ReadBox(bytes, inner, top.end, child); inner = child.end) {
            if (child.type == Tag("iloc") && !ExtentsFit(bytes, child.body, child.end)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace pelimon::imagelib_detail
