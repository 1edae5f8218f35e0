// The parsed header of a BMP file (Windows BITMAPINFOHEADER and its V4/V5 extensions, and the
// OS/2 BITMAPCOREHEADER), validated so that the pixel decoder can trust every field.
#pragma once

#include <array>
#include <cstdint>

#include "common/result.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

enum class BmpCompression { kNone, kRle8, kRle4, kBitfields };

struct BmpHeader {
    int width = 0;
    int height = 0;  // always positive; top_down says the row order
    bool top_down = false;
    int bits = 0;  // 1, 4, 8, 16, 24 or 32
    BmpCompression compression = BmpCompression::kNone;
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha for 16 and 32 bits
    size_t palette_offset = 0;        // where the colour table starts
    int palette_entry_size = 4;       // 3 for the OS/2 core header
    int palette_count = 0;            // entries present in the file, at most 256
    size_t pixel_offset = 0;          // where the pixel data starts
};

// Parses and validates the header. Sides above 65535 are refused with the dimensions in the
// message; the pixel count is left to the decoder (a BMP decoded row by row may have any).
// `bytes` must reach the pixel data (pixel_offset is checked against its length).
Result<BmpHeader> ParseBmpHeader(ByteView bytes);
// The same for the first bytes of a file of `file_size` bytes (the header and, for a palette
// image, its colour table must lie within `bytes`).
Result<BmpHeader> ParseBmpHeader(ByteView bytes, size_t file_size);

}  // namespace pelimon::imagelib_detail
