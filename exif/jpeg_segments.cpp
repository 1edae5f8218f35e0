#include "exif/jpeg_segments.h"

#include <algorithm>
#include <cstring>

namespace pelimon {
namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kApp1 = kJpegApp1;
constexpr uint8_t kApp2 = kJpegApp2;
constexpr uint8_t kApp13 = kJpegApp13;

// Markers that stand alone, without a length field.
bool IsStandalone(uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= kSoi);
}

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

bool StartsWith(std::span<const uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                                                       [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

}  // namespace

bool StartsWithSoi(std::span<const uint8_t> file) {
    return file.size() >= 2 && file[0] == 0xFF && file[1] == kSoi;
}

std::vector<JpegSegment> WalkJpegSegments(std::span<const uint8_t> file) {
    std::vector<JpegSegment> segments;
    if (!StartsWithSoi(file)) {
        return segments;
    }
    size_t pos = 2;
    // Every turn moves pos forward, so the walk ends.
    while (pos < file.size() && file[pos] == 0xFF) {
        while (pos < file.size() && file[pos] == 0xFF) {
            ++pos;
        }
        if (pos >= file.size()) {
            break;
        }
        const uint8_t marker = file[pos++];
        if (marker == kSos || marker == kEoi || marker == 0x00) {
            break;
        }
        if (IsStandalone(marker)) {
            continue;
        }
        if (file.size() - pos < 2) {
            break;
        }
        const auto length = static_cast<uint16_t>((file[pos] << 8) | file[pos + 1]);
        if (length < 2 || file.size() - pos < length) {
            break;
        }
        // The segment starts at the 0xFF right before its marker code, after any fill bytes.
        segments.push_back({marker, pos - 2, length});
        pos += length;
    }
    return segments;
}

std::optional<JpegSegment> FindExifSegment(std::span<const uint8_t> file, std::span<const JpegSegment> segments) {
    for (const JpegSegment& segment : segments) {
        if (segment.marker != kApp1) {
            continue;
        }
        const std::span<const uint8_t> payload = segment.Payload(file);
        if (payload.size() < kExifIdentifierSize + kTiffHeaderSize || !StartsWith(payload, kExifIdentifier)) {
            continue;
        }
        const uint8_t first = payload[kExifIdentifierSize];
        const uint8_t second = payload[kExifIdentifierSize + 1];
        if ((first == 'I' && second == 'I') || (first == 'M' && second == 'M')) {
            return segment;
        }
    }
    return std::nullopt;
}

std::vector<uint8_t> ReadXmpPacket(std::span<const uint8_t> file, std::span<const JpegSegment> segments) {
    for (const JpegSegment& segment : segments) {
        const std::span<const uint8_t> payload = segment.Payload(file);
        if (segment.marker == kApp1 && StartsWith(payload, kXmpIdentifier)) {
            const std::span<const uint8_t> packet = payload.subspan(kXmpIdentifier.size());
            return {packet.begin(), packet.end()};
        }
    }
    return {};
}

std::vector<std::vector<uint8_t>> ReadExtendedXmp(std::span<const uint8_t> file,
                                                  std::span<const JpegSegment> segments) {
    std::vector<std::vector<uint8_t>> parts;
    for (const JpegSegment& segment : segments) {
        const std::span<const uint8_t> payload = segment.Payload(file);
        if (segment.marker == kApp1 && StartsWith(payload, kExtendedXmpIdentifier)) {
            parts.emplace_back(payload.begin(), payload.end());
        }
    }
    return parts;
}

std::vector<uint8_t> ReadPhotoshopPayload(std::span<const uint8_t> file, std::span<const JpegSegment> segments) {
    constexpr std::string_view kPhotoshop{"Photoshop 3.0\0", 14};
    for (const JpegSegment& segment : segments) {
        const std::span<const uint8_t> payload = segment.Payload(file);
        if (segment.marker == kApp13 && StartsWith(payload, kPhotoshop)) {
            return {payload.begin(), payload.end()};
        }
    }
    return {};
}

std::vector<uint8_t> ReadIccProfile(std::span<const uint8_t> file, std::span<const JpegSegment> segments) {
    struct Chunk {
        unsigned sequence;
        unsigned total;
        std::span<const uint8_t> data;
    };
    std::vector<Chunk> chunks;
    for (const JpegSegment& segment : segments) {
        const std::span<const uint8_t> payload = segment.Payload(file);
        if (segment.marker == kApp2 && payload.size() >= kIccHeaderSize && StartsWith(payload, kIccIdentifier)) {
            chunks.push_back(
                {payload[sizeof kIccIdentifier], payload[sizeof kIccIdentifier + 1], payload.subspan(kIccHeaderSize)});
        }
    }
    std::vector<uint8_t> profile;
    if (chunks.size() == 1) {
        profile.assign(chunks[0].data.begin(), chunks[0].data.end());
        return profile;
    }
    std::sort(chunks.begin(), chunks.end(), [](const Chunk& a, const Chunk& b) { return a.sequence < b.sequence; });
    for (size_t i = 0; i < chunks.size(); ++i) {
        if (chunks[i].sequence != i + 1 || chunks[i].total != chunks.size()) {
            return {};
        }
    }
    for (const Chunk& chunk : chunks) {
        profile.insert(profile.end(), chunk.data.begin(), chunk.data.end());
    }
    return profile;
}

}  // namespace pelimon
