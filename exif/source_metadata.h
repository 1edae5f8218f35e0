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
#include "imagelib/embedded_metadata.h"

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
    // The ICC colour profile reassembled from the APP2 "ICC_PROFILE" segments (of a HEIF/AVIF or
    // WebP: its colour box or ICCP chunk; a PNG's is not read); empty when none.
    std::vector<uint8_t> icc_profile;
    // HEIF/AVIF nclx colour, when the file describes its colour that way.
    std::optional<NclxColour> nclx;
    // HEIF/AVIF: the decoder turns the pixels upright itself. Orientation is then 1, and a kept
    // Exif segment is written with Orientation 1.
    bool decoder_orients = false;
    // The standard XMP packet (APP1 "http://ns.adobe.com/xap/1.0/"), without its identifier.
    std::vector<uint8_t> xmp;
    // The extended XMP segments' payloads, identifier included, in file order.
    std::vector<std::vector<uint8_t>> extended_xmp;
    // The APP13 "Photoshop 3.0" payload (image resources with the IPTC data), header included.
    std::vector<uint8_t> photoshop;
};

// Reads the metadata of a JPEG, HEIF/HEIC, AVIF, WebP or PNG file held in memory (the Exif block
// of the others is seen as a JPEG's Exif segment; a PNG's may also be one without its image data,
// ReadPngWithoutImageData). Other input, or malformed metadata, gives the
// defaults (never a failure, never a crash). `now` stands for the local time.
SourceMetadata ReadSourceMetadata(std::span<const uint8_t> file_bytes, std::time_t now);

// Sets the file's modification time to `shot_date` ("YYYY/MM/DD HH:MM:SS", local time) and keeps
// its access time. Dates outside the valid ranges leave the file alone (not an error).
Status ApplyShotDate(const std::string& path, std::string_view shot_date);

}  // namespace pelimon
