// The Exif of HEIF/HEIC, AVIF, WebP and PNG files seen as a JPEG's: their Exif block wrapped in an
// APP1 segment, so that the Exif reader, the transfer and the shooting date serve every format
// through one path.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pelimon {

// An APP1 segment (0xFF 0xE1, length, "Exif\0\0", then `tiff`) holding an Exif block that starts
// at its TIFF header; empty when `tiff` is empty or too long for one segment.
std::vector<uint8_t> ExifSegmentOfTiff(std::span<const uint8_t> tiff);

// The TIFF block of an APP1 Exif segment (the reverse of ExifSegmentOfTiff); empty when the
// segment is too short to hold one.
std::span<const uint8_t> TiffOfExifSegment(std::span<const uint8_t> segment);

// For a file whose metadata lies beside its pixels (HEIF/HEIC, AVIF, WebP, PNG:
// FormatRow::read_metadata): SOI followed by its Exif as an APP1 segment (SOI alone when it has
// none). Empty for any other file.
std::vector<uint8_t> EmbeddedExifAsJpeg(std::span<const uint8_t> file);

}  // namespace pelimon
