#include "tests/support/png_chunks.h"

#include <zlib.h>

namespace pelimon::test {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Be32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

}  // namespace

std::vector<PngChunkData> SplitPng(const std::vector<uint8_t>& png) {
    std::vector<PngChunkData> chunks;
    for (size_t at = sizeof kSignature; at + 12 <= png.size();) {
        const size_t length = Be32(png, at);
        if (length > png.size() - at - 12) {
            break;
        }
        const auto data = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
        chunks.push_back({std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4), data),
                          std::vector<uint8_t>(data, data + static_cast<std::ptrdiff_t>(length))});
        at += 12 + length;
    }
    return chunks;
}

std::vector<uint8_t> JoinPng(const std::vector<PngChunkData>& chunks) {
    std::vector<uint8_t> png(kSignature, kSignature + sizeof kSignature);
    for (const PngChunkData& chunk : chunks) {
        PutBe32(png, static_cast<uint32_t>(chunk.data.size()));
        const size_t type_at = png.size();
        png.insert(png.end(), chunk.type.begin(), chunk.type.end());
        png.insert(png.end(), chunk.data.begin(), chunk.data.end());
        PutBe32(png, static_cast<uint32_t>(crc32(0, png.data() + type_at, static_cast<uInt>(png.size() - type_at))));
    }
    return png;
}

}  // namespace pelimon::test
