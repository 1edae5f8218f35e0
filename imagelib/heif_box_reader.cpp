#include "imagelib/heif_box_reader.h"

#include "imagelib/codec_support.h"

namespace pelimon::imagelib_detail {

bool ReadHeifBox(ByteView bytes, size_t at, size_t limit, HeifBox& box) {
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

uint64_t ReadHeifField(ByteView bytes, size_t& at, unsigned size) {
    uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i) {
        value = value << 8 | ReadU8(bytes, at + i);
    }
    at += size;
    return value;
}

}  // namespace pelimon::imagelib_detail
