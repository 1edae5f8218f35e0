// The Adler-32 checksum of zlib streams (RFC 1950), computed 16 bytes at a time: zlib's own
// function takes a byte at a time, which is a tenth of a large PNG's decoding time.
#pragma once

#include <cstdint>

#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// The checksum of `bytes` continued from `adler` (1 for an empty start), as zlib's adler32 gives.
uint32_t Adler32(uint32_t adler, ByteView bytes);

}  // namespace pelimon::imagelib_detail
