// A check of a HEIF file's item locations before libheif reads them. libheif 1.15 allocates the
// length an 'iloc' extent claims before it reads the data (for items stored in 'idat' it does not
// compare that length with anything), so a few hundred bytes could make it allocate gigabytes.
#include <cstdint>

#include "imagelib/codec_support.h"
#include "imagelib/heif_box_reader.h"
#include "imagelib/heif_support.h"

namespace pelimon::imagelib_detail {

namespace {

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
        const uint64_t base = ReadHeifField(bytes, at, base_size);
        const uint64_t extents = ReadBe16(bytes, at);
        at += 2;
        for (uint64_t e = 0; e < extents && at < end; ++e) {
            ReadHeifField(bytes, at, index_size);
            const uint64_t offset = ReadHeifField(bytes, at, offset_size);
            const uint64_t length = ReadHeifField(bytes, at, length_size);
            if (length > file || base > file || offset > file) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool HeifItemLocationsFit(ByteView bytes) {
    HeifBox top;
    for (size_t at = 0; at < bytes.size() && ReadHeifBox(bytes, at, bytes.size(), top); at = top.end) {
        if (top.type != HeifBoxType("meta")) {
            continue;
        }
        HeifBox child;
        for (size_t inner = top.body + 4; ReadHeifBox(bytes, inner, top.end, child); inner = child.end) {
            if (child.type == HeifBoxType("iloc") && !ExtentsFit(bytes, child.body, child.end)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace pelimon::imagelib_detail
