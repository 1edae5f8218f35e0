// PlaceInPng (declared in exif/output_metadata.h): the Exif and XMP chunks of a PNG output.
#include <array>
#include <cstring>
#include <string_view>

#include "exif/output_metadata.h"

namespace pelimon {
namespace {

constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then IHDR: length 4, type 4, 13 bytes of data, CRC 4.
constexpr size_t kAfterIhdr = sizeof kSignature + 4 + 4 + 13 + 4;
constexpr std::string_view kXmpKeyword = "XML:com.adobe.xmp";

// The CRC-32 of PNG chunks (ISO 3309, polynomial 0xEDB88320).
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0xFFFFFFFFu) {
    static const std::array<uint32_t, 256> kTable = [] {
        std::array<uint32_t, 256> table{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
        return table;
    }();
    for (const uint8_t byte : bytes) {
        crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                           static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

void AppendChunk(std::vector<uint8_t>& out, const char (&type)[5], std::span<const uint8_t> data) {
    PutBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, Crc32(std::span(out).subspan(type_at)) ^ 0xFFFFFFFFu);
}

}  // namespace

std::vector<uint8_t> PlaceInPng(std::span<const uint8_t> encoded_png, const OutputMetadata& metadata) {
    const bool has_ihdr = encoded_png.size() >= kAfterIhdr &&
                          std::memcmp(encoded_png.data(), kSignature, sizeof kSignature) == 0 &&
                          std::memcmp(encoded_png.data() + sizeof kSignature + 4, "IHDR", 4) == 0;
    if (!has_ihdr || (metadata.exif.empty() && metadata.xmp.empty())) {
        return {encoded_png.begin(), encoded_png.end()};
    }
    std::vector<uint8_t> chunks;
    if (!metadata.exif.empty()) {
        AppendChunk(chunks, "eXIf", metadata.exif);
    }
    if (!metadata.xmp.empty()) {
        // Keyword, NUL, uncompressed (flag 0, method 0), empty language tag and translated
        // keyword (each NUL-terminated), then the packet as UTF-8 text.
        std::vector<uint8_t> text(kXmpKeyword.begin(), kXmpKeyword.end());
        text.insert(text.end(), {0, 0, 0, 0, 0});
        text.insert(text.end(), metadata.xmp.begin(), metadata.xmp.end());
        AppendChunk(chunks, "iTXt", text);
    }
    std::vector<uint8_t> out;
    out.reserve(encoded_png.size() + chunks.size());
    out.insert(out.end(), encoded_png.begin(), encoded_png.begin() + kAfterIhdr);
    out.insert(out.end(), chunks.begin(), chunks.end());
    out.insert(out.end(), encoded_png.begin() + kAfterIhdr, encoded_png.end());
    return out;
}

}  // namespace pelimon
