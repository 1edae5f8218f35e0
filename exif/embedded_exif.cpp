#include "exif/embedded_exif.h"

#include "exif/jpeg_segments.h"
#include "imagelib/embedded_metadata.h"

namespace pelimon {

namespace {

// Marker (2), length field (2) and "Exif\0\0" before the TIFF header.
constexpr size_t kSegmentHead = 4 + kExifIdentifierSize;

}  // namespace

std::vector<uint8_t> ExifSegmentOfTiff(std::span<const uint8_t> tiff) {
    const size_t length = 2 + kExifIdentifierSize + tiff.size();
    if (tiff.empty() || length > 0xFFFF) {
        return {};
    }
    std::vector<uint8_t> segment = {
        0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF), 'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

std::span<const uint8_t> TiffOfExifSegment(std::span<const uint8_t> segment) {
    return segment.size() > kSegmentHead ? segment.subspan(kSegmentHead) : std::span<const uint8_t>{};
}

std::vector<uint8_t> EmbeddedExifAsJpeg(std::span<const uint8_t> file) {
    const ImageFormat format = SniffFormat(file);
    if (format != ImageFormat::kWebp && format != ImageFormat::kHeif && format != ImageFormat::kAvif &&
        format != ImageFormat::kPng) {
        return {};
    }
    std::vector<uint8_t> jpeg = {0xFF, 0xD8};
    const std::vector<uint8_t> segment = ExifSegmentOfTiff(ReadEmbeddedMetadata(file).exif);
    jpeg.insert(jpeg.end(), segment.begin(), segment.end());
    return jpeg;
}

}  // namespace pelimon
