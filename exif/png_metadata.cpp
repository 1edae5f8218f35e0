// PlaceInPng (declared in exif/output_metadata.h): the Exif and XMP chunks of a PNG output.
#include <string_view>

#include "exif/output_metadata.h"
#include "imagelib/png_chunks.h"

namespace pelimon {
namespace {

constexpr std::string_view kXmpKeyword = "XML:com.adobe.xmp";

}  // namespace

std::vector<uint8_t> PlaceInPng(std::span<const uint8_t> encoded_png, const OutputMetadata& metadata) {
    const std::vector<PngChunk> walked = WalkPngChunks(encoded_png);
    const bool has_ihdr = !walked.empty() && walked.front().type == "IHDR";
    if (!has_ihdr || (metadata.exif.empty() && metadata.xmp.empty())) {
        return {encoded_png.begin(), encoded_png.end()};
    }
    std::vector<uint8_t> chunks;
    if (!metadata.exif.empty()) {
        AppendPngChunk(chunks, "eXIf", metadata.exif);
    }
    if (!metadata.xmp.empty()) {
        // Keyword, NUL, uncompressed (flag 0, method 0), empty language tag and translated
        // keyword (each NUL-terminated), then the packet as UTF-8 text.
        std::vector<uint8_t> text(kXmpKeyword.begin(), kXmpKeyword.end());
        text.insert(text.end(), {0, 0, 0, 0, 0});
        text.insert(text.end(), metadata.xmp.begin(), metadata.xmp.end());
        AppendPngChunk(chunks, "iTXt", text);
    }
    // The new chunks follow IHDR (length, type, data, CRC).
    const auto after_ihdr = encoded_png.begin() + (walked.front().data.data() - encoded_png.data()) +
                            static_cast<std::ptrdiff_t>(walked.front().data.size() + 4);
    std::vector<uint8_t> out;
    out.reserve(encoded_png.size() + chunks.size());
    out.insert(out.end(), encoded_png.begin(), after_ihdr);
    out.insert(out.end(), chunks.begin(), chunks.end());
    out.insert(out.end(), after_ihdr, encoded_png.end());
    return out;
}

}  // namespace pelimon
