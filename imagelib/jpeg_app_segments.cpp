#include "imagelib/jpeg_app_segments.h"

#include <algorithm>
#include <iterator>

namespace pelimon {

std::vector<uint8_t> BuildSegment(uint8_t marker, std::initializer_list<std::span<const uint8_t>> payload_parts) {
    size_t size = 0;
    for (const std::span<const uint8_t> part : payload_parts) {
        size += part.size();
    }
    if (size > kMaxSegmentPayload) {
        return {};
    }
    const size_t length = size + 2;
    std::vector<uint8_t> out = {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)};
    out.reserve(length + 2);
    for (const std::span<const uint8_t> part : payload_parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

std::vector<uint8_t> BuildIccSegments(std::span<const uint8_t> profile) {
    const size_t chunk_count = (profile.size() + kMaxIccChunk - 1) / kMaxIccChunk;
    std::vector<uint8_t> out;
    if (chunk_count == 0 || chunk_count > kMaxIccChunks) {
        return out;
    }
    out.reserve(profile.size() + chunk_count * (4 + kIccHeaderSize));
    for (size_t i = 0; i < chunk_count; ++i) {
        const std::span<const uint8_t> data =
            profile.subspan(i * kMaxIccChunk).first(std::min(kMaxIccChunk, profile.size() - i * kMaxIccChunk));
        const size_t length = 2 + kIccHeaderSize + data.size();
        out.insert(out.end(),
                   {0xFF, kJpegApp2, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)});
        out.insert(out.end(), std::begin(kIccIdentifier), std::end(kIccIdentifier));
        out.push_back(static_cast<uint8_t>(i + 1));
        out.push_back(static_cast<uint8_t>(chunk_count));
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

Bytes imagelib_detail::PlaceInJpeg(ByteView encoded, const EncodeMetadata& metadata) {
    if (encoded.size() < 2) {
        return Bytes(encoded.begin(), encoded.end());  // no SOI: nowhere to put the segments
    }
    std::vector<uint8_t> segments;
    const auto append = [&segments](const std::vector<uint8_t>& segment) {
        segments.insert(segments.end(), segment.begin(), segment.end());
    };
    if (!metadata.exif.empty()) {
        append(BuildSegment(kJpegApp1, {kExifIdentifier, metadata.exif}));
    }
    if (!metadata.xmp.empty()) {
        const auto* identifier = reinterpret_cast<const uint8_t*>(kXmpIdentifier.data());
        append(BuildSegment(kJpegApp1, {std::span(identifier, kXmpIdentifier.size()), metadata.xmp}));
    }
    for (const Bytes& part : metadata.extended_xmp) {
        append(BuildSegment(kJpegApp1, {part}));
    }
    append(BuildIccSegments(metadata.icc_profile));
    if (!metadata.photoshop.empty()) {
        append(BuildSegment(kJpegApp13, {metadata.photoshop}));
    }
    Bytes out;
    out.reserve(encoded.size() + segments.size());
    out.insert(out.end(), encoded.begin(), encoded.begin() + 2);
    out.insert(out.end(), segments.begin(), segments.end());
    out.insert(out.end(), encoded.begin() + 2, encoded.end());
    return out;
}

}  // namespace pelimon
