// The APPn marker segments of a JPEG output: one segment, the APP2 chunks of an ICC profile, and
// the metadata blocks placed after SOI. The readers of these segments are in exif/jpeg_segments.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imagelib/imagelib.h"

namespace pelimon {

inline constexpr uint8_t kJpegApp1 = 0xE1;
inline constexpr uint8_t kJpegApp2 = 0xE2;
inline constexpr uint8_t kJpegApp13 = 0xED;

// The most a segment's payload holds: 65535 less its own length field.
inline constexpr size_t kMaxSegmentPayload = 0xFFFF - 2;

// "Exif\0\0", which begins the payload of the Exif APP1 segment.
inline constexpr uint8_t kExifIdentifier[] = {'E', 'x', 'i', 'f', 0, 0};
// XMP in APP1 segments: the standard packet follows kXmpIdentifier; an extended packet (too big
// for one segment) is split over segments that begin with kExtendedXmpIdentifier, a 32-character
// GUID, the full length and the chunk's offset (both 32-bit big-endian).
inline constexpr std::string_view kXmpIdentifier{"http://ns.adobe.com/xap/1.0/\0", 29};
inline constexpr std::string_view kExtendedXmpIdentifier{"http://ns.adobe.com/xmp/extension/\0", 35};

// APP2 "ICC_PROFILE\0" segments: the identifier, then the chunk's sequence number (from 1) and the
// number of chunks, then at most kMaxIccChunk bytes of the profile; at most kMaxIccChunks chunks.
inline constexpr uint8_t kIccIdentifier[] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
inline constexpr size_t kIccHeaderSize = sizeof kIccIdentifier + 2;
inline constexpr size_t kMaxIccChunk = 65519;
inline constexpr size_t kMaxIccChunks = 255;

// A segment with `marker`, its length field, then the parts of its payload in order; empty when
// the payload does not fit in one segment.
std::vector<uint8_t> BuildSegment(uint8_t marker, std::initializer_list<std::span<const uint8_t>> payload_parts);

// APP2 segments that carry `profile`. Empty when the profile is empty or needs more than
// kMaxIccChunks chunks.
std::vector<uint8_t> BuildIccSegments(std::span<const uint8_t> profile);

namespace imagelib_detail {

// The JPEG file as written: SOI, APP1 Exif, APP1 XMP and the extended XMP segments, APP2 ICC,
// APP13 Photoshop, then the encoder's segments after its SOI. A block that does not fit in one
// segment is left out. `encoded` must begin with SOI.
Bytes PlaceInJpeg(ByteView encoded, const EncodeMetadata& metadata);

}  // namespace imagelib_detail

// The JPEG file `jpeg` with its metadata replaced by `metadata`, placed as PlaceInJpeg places it,
// and its image data untouched: every APPn segment but APP0 (JFIF) and APP14 (Adobe, which says
// how the colours are coded) is dropped, so are comments and whatever follows EOI (the further
// pictures of a multi-picture file, makers' trailers). nullopt when the file's segments cannot be
// followed to its EOI.
std::optional<Bytes> ReplaceJpegMetadata(ByteView jpeg, const EncodeMetadata& metadata);

}  // namespace pelimon
