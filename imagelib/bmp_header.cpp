#include "imagelib/bmp_header.h"

#include <algorithm>
#include <string>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kMaxBmpSide = 65535;

// BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS, BI_ALPHABITFIELDS as stored in the file.
enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

Status CheckCompression(BmpHeader& header, uint32_t compression) {
    const int bits = header.bits;
    switch (compression) {
        case kBiRgb:
            if (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) {
                header.compression = BmpCompression::kNone;
                return {};
            }
            break;
        case kBiRle8:
            if (bits == 8) {
                header.compression = BmpCompression::kRle8;
                return {};
            }
            break;
        case kBiRle4:
            if (bits == 4) {
                header.compression = BmpCompression::kRle4;
                return {};
            }
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (bits == 16 || bits == 32) {
                header.compression = BmpCompression::kBitfields;
                return {};
            }
            break;
        default:
            break;
    }
    return UnsupportedError(imagelib_texts::BmpUnsupportedBits(bits, compression));
}

}  // namespace

Result<BmpHeader> ParseBmpHeader(ByteView bytes) {
    if (bytes.size() < kFileHeaderSize + 12) {
        return CorruptError(imagelib_texts::kBmpHeaderShort);
    }
    const uint32_t info_size = ReadLe32(bytes, 14);
    BmpHeader header;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t compression = kBiRgb;
    uint32_t colors_used = 0;
    size_t after_info = kFileHeaderSize + info_size;
    if (info_size == 12) {
        width = ReadLe16(bytes, 18);
        height = static_cast<int16_t>(ReadLe16(bytes, 20));
        header.bits = static_cast<int>(ReadLe16(bytes, 24));
        header.palette_entry_size = 3;
    } else if (info_size >= 40 && info_size <= 1024) {
        if (bytes.size() < after_info) {
            return CorruptError(imagelib_texts::kBmpHeaderShort);
        }
        width = static_cast<int32_t>(ReadLe32(bytes, 18));
        height = static_cast<int32_t>(ReadLe32(bytes, 22));
        header.bits = static_cast<int>(ReadLe16(bytes, 28));
        compression = ReadLe32(bytes, 30);
        colors_used = ReadLe32(bytes, 46);
    } else {
        return UnsupportedError(imagelib_texts::BmpUnsupportedHeader(info_size));
    }
    header.top_down = height < 0;
    height = height < 0 ? -height : height;
    if (Status size = CheckDimensions(width, height, kMaxBmpSide); !size) {
        return size.error();
    }
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    if (Status supported = CheckCompression(header, compression); !supported) {
        return supported.error();
    }

    if (header.compression == BmpCompression::kBitfields) {
        // Masks sit inside a V2+ header, or right after a 40-byte one (12 bytes, 16 with alpha).
        const size_t mask_offset = info_size >= 52 ? kFileHeaderSize + 40 : after_info;
        const int mask_count = info_size >= 56 || compression == kBiAlphaBitfields ? 4 : 3;
        if (bytes.size() < mask_offset + 4 * static_cast<size_t>(mask_count)) {
            return CorruptError(imagelib_texts::kBmpNoBitMasks);
        }
        for (int i = 0; i < mask_count; ++i) {
            header.masks[static_cast<size_t>(i)] = ReadLe32(bytes, mask_offset + 4 * static_cast<size_t>(i));
        }
        if (info_size < 52) {
            after_info += 4 * static_cast<size_t>(mask_count);
        }
    } else if (header.bits == 16) {
        header.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (header.bits == 32) {
        header.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }

    header.palette_offset = after_info;
    const size_t offset = ReadLe32(bytes, 10);
    if (offset < after_info || offset > bytes.size()) {
        return CorruptError(imagelib_texts::kBmpBadPixelOffset);
    }
    header.pixel_offset = offset;
    if (header.bits <= 8) {
        const uint32_t wanted = colors_used == 0 ? (1u << header.bits) : std::min(colors_used, 256u);
        const size_t room = (offset - after_info) / static_cast<size_t>(header.palette_entry_size);
        header.palette_count = static_cast<int>(std::min<size_t>(wanted, room));
    }
    return header;
}

Result<ImageHeader> ProbeBmp(ByteView bytes) {
    Result<BmpHeader> header = ParseBmpHeader(bytes);
    if (!header) {
        return header.error();
    }
    return ImageHeader{ImageFormat::kBmp, header.value().width, header.value().height};
}

}  // namespace pelimon::imagelib_detail
