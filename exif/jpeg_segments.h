// Walking the marker segments of a JPEG file held in memory, from SOI to the start of scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imagelib/jpeg_app_segments.h"  // the identifiers, and the segment builders of the outputs

namespace pelimon {

struct JpegSegment {
    uint8_t marker = 0;   // the byte after 0xFF (0xE1 for APP1)
    size_t offset = 0;    // file offset of the segment's 0xFF marker byte
    uint16_t length = 0;  // the big-endian length field: counts itself and the payload
    // The payload: the bytes after the length field.
    std::span<const uint8_t> Payload(std::span<const uint8_t> file) const {
        return file.subspan(offset + 4, size_t{length} - 2);
    }
    // The whole segment from its marker to its last byte.
    std::span<const uint8_t> Whole(std::span<const uint8_t> file) const {
        return file.subspan(offset, size_t{length} + 2);
    }
};

// True when the bytes begin with the SOI marker 0xFF 0xD8.
bool StartsWithSoi(std::span<const uint8_t> file);

// The segments with a length field between SOI and SOS (or EOI), in file order, found by
// following the length fields; fill bytes (0xFF) before a marker are skipped. The walk stops at
// the first malformed or truncated segment: every segment listed lies wholly inside `file`.
// Empty when the bytes do not begin with SOI.
std::vector<JpegSegment> WalkJpegSegments(std::span<const uint8_t> file);

// Size of the Exif identifier "Exif\0\0" and of a TIFF header.
inline constexpr size_t kExifIdentifierSize = sizeof kExifIdentifier;
inline constexpr size_t kTiffHeaderSize = 8;

// The first APP1 segment whose payload begins with "Exif\0\0" followed by a TIFF header with
// the byte order "II" or "MM"; std::nullopt when there is none.
std::optional<JpegSegment> FindExifSegment(std::span<const uint8_t> file, std::span<const JpegSegment> segments);

// The packet of the first standard XMP segment (without its identifier); empty when none.
std::vector<uint8_t> ReadXmpPacket(std::span<const uint8_t> file, std::span<const JpegSegment> segments);
// The payloads (identifier included) of every extended XMP segment, in file order.
std::vector<std::vector<uint8_t>> ReadExtendedXmp(std::span<const uint8_t> file, std::span<const JpegSegment> segments);
// The payload of the first APP13 segment that begins with "Photoshop 3.0\0"; empty when none.
std::vector<uint8_t> ReadPhotoshopPayload(std::span<const uint8_t> file, std::span<const JpegSegment> segments);

// The ICC colour profile of the APP2 "ICC_PROFILE\0" segments, chunks joined in the order of
// their sequence numbers. A set of chunks that is incomplete, duplicated or numbered
// inconsistently gives an empty profile (a damaged profile is worse than none); a single chunk
// is taken as the whole profile whatever its numbers say.
std::vector<uint8_t> ReadIccProfile(std::span<const uint8_t> file, std::span<const JpegSegment> segments);

}  // namespace pelimon
