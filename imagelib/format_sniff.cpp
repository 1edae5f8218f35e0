// The formats' signatures; the file name never matters. SniffFormat (format_table.cpp) asks the
// rows in turn.
#include <algorithm>
#include <string_view>

#include "imagelib/formats.h"

namespace pelimon::imagelib_detail {

namespace {

bool StartsWith(ByteView bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

bool BrandIs(ByteView bytes, size_t at, std::string_view brand) {
    return at + 4 <= bytes.size() && std::equal(brand.begin(), brand.end(), bytes.begin() + static_cast<long>(at));
}

// An ISO base media file whose first box is 'ftyp': HEIF/HEIC or AVIF by its brands, unknown for
// other members of the family (MP4 video, JPEG 2000). The major brand decides; a generic major
// brand (mif1, msf1, miaf) takes the kind of the first compatible brand that names one.
ImageFormat SniffHeifFamily(ByteView bytes) {
    if (bytes.size() < 16 || !BrandIs(bytes, 4, "ftyp")) {
        return ImageFormat::kUnknown;
    }
    const size_t box_end = std::min<size_t>(
        bytes.size(), size_t{bytes[0]} << 24 | size_t{bytes[1]} << 16 | size_t{bytes[2]} << 8 | size_t{bytes[3]});
    const auto kind_of = [&](size_t at) {
        for (const std::string_view brand : {"avif", "avis"}) {
            if (BrandIs(bytes, at, brand)) {
                return ImageFormat::kAvif;
            }
        }
        for (const std::string_view brand : {"heic", "heix", "heim", "heis", "hevc", "hevx"}) {
            if (BrandIs(bytes, at, brand)) {
                return ImageFormat::kHeif;
            }
        }
        return ImageFormat::kUnknown;
    };
    if (const ImageFormat major = kind_of(8); major != ImageFormat::kUnknown) {
        return major;
    }
    if (!BrandIs(bytes, 8, "mif1") && !BrandIs(bytes, 8, "msf1") && !BrandIs(bytes, 8, "miaf")) {
        return ImageFormat::kUnknown;
    }
    for (size_t at = 16; at + 4 <= box_end; at += 4) {
        if (const ImageFormat compatible = kind_of(at); compatible != ImageFormat::kUnknown) {
            return compatible;
        }
    }
    return ImageFormat::kHeif;
}

}  // namespace

bool SniffsJpeg(ByteView bytes) {
    return StartsWith(bytes, {0xFF, 0xD8, 0xFF});
}

bool SniffsPng(ByteView bytes) {
    return StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
}

bool SniffsGif(ByteView bytes) {
    return StartsWith(bytes, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(bytes, {'G', 'I', 'F', '8', '9', 'a'});
}

bool SniffsBmp(ByteView bytes) {
    return StartsWith(bytes, {'B', 'M'});
}

bool SniffsWebp(ByteView bytes) {
    return StartsWith(bytes, {'R', 'I', 'F', 'F'}) && BrandIs(bytes, 8, "WEBP");
}

bool SniffsHeif(ByteView bytes) {
    return SniffHeifFamily(bytes) == ImageFormat::kHeif;
}

bool SniffsAvif(ByteView bytes) {
    return SniffHeifFamily(bytes) == ImageFormat::kAvif;
}

bool SniffsTiff(ByteView bytes) {
    return StartsWith(bytes, {'I', 'I', 42, 0}) || StartsWith(bytes, {'M', 'M', 0, 42}) ||
           StartsWith(bytes, {'I', 'I', 43, 0}) || StartsWith(bytes, {'M', 'M', 0, 43});
}

bool SniffsJxl(ByteView bytes) {
    return StartsWith(bytes, {0xFF, 0x0A}) ||
           StartsWith(bytes, {0, 0, 0, 0x0C, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A});
}

}  // namespace pelimon::imagelib_detail
