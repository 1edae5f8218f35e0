#include "tests/support/metadata_blocks.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string_view>

#include "exif/exif_entry.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "exif/value_bytes.h"

namespace pelimon::test {
namespace {

constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Keyword, then compression flag and method, empty language tag and translated keyword.
constexpr std::string_view kXmpKeyword{"XML:com.adobe.xmp\0\0\0\0\0", 22};
// Marker, length field and "Exif\0\0" before the TIFF header in an APP1 segment.
constexpr size_t kTiffInSegment = 10;

}  // namespace

std::vector<uint8_t> PngChunk(const std::vector<uint8_t>& png, const char* type) {
    size_t pos = sizeof kPngSignature;
    while (pos + 12 <= png.size()) {
        const uint32_t length = GetLong(png.data() + pos, false);
        if (pos + 12 + size_t{length} > png.size()) {
            ADD_FAILURE() << "PNG chunk beyond the end of the file";
            return {};
        }
        if (std::equal(type, type + 4, png.begin() + static_cast<long>(pos + 4))) {
            const uint32_t crc = GetLong(png.data() + pos + 8 + length, false);
            EXPECT_EQ(crc, crc32(0, png.data() + pos + 4, length + 4));
            return {png.begin() + static_cast<long>(pos + 8), png.begin() + static_cast<long>(pos + 8 + length)};
        }
        pos += 12 + size_t{length};
    }
    return {};
}

FileBlocks ReadFileBlocks(const std::vector<uint8_t>& file) {
    FileBlocks blocks;
    if (file.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), file.begin())) {
        blocks.exif = PngChunk(file, "eXIf");
        const std::vector<uint8_t> text = PngChunk(file, "iTXt");
        if (text.size() > kXmpKeyword.size() && std::equal(kXmpKeyword.begin(), kXmpKeyword.end(), text.begin())) {
            blocks.xmp.assign(text.begin() + static_cast<long>(kXmpKeyword.size()), text.end());
        }
        return blocks;
    }
    SourceMetadata metadata = ReadSourceMetadata(file, 0);
    if (metadata.exif_segment.size() > kTiffInSegment) {
        blocks.exif.assign(metadata.exif_segment.begin() + kTiffInSegment, metadata.exif_segment.end());
    }
    blocks.xmp = std::move(metadata.xmp);
    return blocks;
}

std::vector<uint8_t> GpsBytes(const std::vector<uint8_t>& tiff) {
    const TiffBlock block(tiff);
    const uint32_t gps = block.GpsIfdOffset();
    const auto entries = block.ReadIfd(gps);
    if (gps == 0 || !entries) {
        return {};
    }
    std::vector<uint8_t> out;
    for (const auto& entry : *entries) {
        const auto field = tiff.begin() + static_cast<long>(entry.position);
        out.insert(out.end(), field, field + 8);  // tag, type, count
        const uint64_t size = uint64_t{TypeSize(entry.type)} * entry.count;
        const auto value =
            size > 4 ? tiff.begin() + GetLong(tiff.data() + entry.position + 8, tiff[0] == 'I') : field + 8;
        out.insert(out.end(), value, value + static_cast<long>(size));
    }
    return out;
}

}  // namespace pelimon::test
