// What a batch takes from a source file's metadata, and how it carries it into the output.
// Everything works on bytes in memory: the batch reads each source once and writes each output
// once.
#pragma once

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace pelimon {

struct SourceMetadata {
    // Length field of the source's Exif APP1 segment (counts its own two bytes and the payload);
    // 0 when the file has no usable Exif segment.
    uint16_t ExifLength = 0;
    // "YYYY/MM/DD HH:MM:SS" from DateTimeOriginal (0x9003), or "0" when there is none. A stored
    // date whose year reads as 0 is replaced by `now`.
    std::string ShotDate = "0";
    // Exif Orientation (0x0112 in IFD0), 1..8; 1 when absent or out of range.
    int Orientation = 1;
    // The Exif APP1 segment as it stands in the source, from its 0xFF 0xE1 marker to its end;
    // empty when there is none.
    std::vector<uint8_t> exif_segment;
    // The ICC colour profile reassembled from the APP2 "ICC_PROFILE" segments; empty when none.
    std::vector<uint8_t> icc_profile;
};

// Reads the metadata of a JPEG file held in memory. Non-JPEG input, or malformed metadata,
// gives the defaults (never a failure, never a crash). `now` stands for the local time.
SourceMetadata ReadSourceMetadata(std::span<const uint8_t> file_bytes, std::time_t now);

struct MetadataTransfer {
    bool keep_exif = false;       // copy the Exif segment (with the output's pixel size patched)
    int output_width = 0;         // written into 0xA002
    int output_height = 0;        // written into 0xA003
    bool pixels_rotated = false;  // the output's pixels were turned: Orientation becomes 1
};

// Builds the output file from the encoder's JPEG: SOI, then the source's Exif segment (when
// keep_exif and the source has one, patched as `transfer` says), then the ICC profile as APP2
// segments (always, when the source has one), then the encoder's segments after its SOI.
// Nothing else of the source reaches the output.
std::vector<uint8_t> BuildOutputJpeg(std::span<const uint8_t> encoded_jpeg, const SourceMetadata& source,
                                     const MetadataTransfer& transfer);

// Number of bytes BuildOutputJpeg adds to the encoder's file for this source and transfer, so
// that the size search can aim at the size of the file as written.
size_t AddedMetadataBytes(const SourceMetadata& source, const MetadataTransfer& transfer);

// Sets the file's modification time to `shot_date` ("YYYY/MM/DD HH:MM:SS", local time) and keeps
// its access time. Dates outside the valid ranges leave the file alone (not an error).
Status ApplyShotDate(const std::string& path, std::string_view shot_date);

}  // namespace pelimon
