// The metadata blocks that HEIF/HEIC, AVIF, WebP, PNG and TIFF files keep beside their pixels: Exif, XMP,
// and the colour description (an ICC profile, or for HEIF/AVIF an nclx colour box; a PNG's iCCP
// chunk is not read here).
#pragma once

#include <optional>

#include "imagelib/imagelib.h"

namespace pelimon {

// An nclx colour description (ITU-T H.273 code points).
struct NclxColour {
    int primaries = 2;  // 1 BT.709/sRGB, 9 BT.2020, 11 DCI-P3, 12 Display P3; 2 unspecified
    int transfer = 2;   // 13 sRGB, 1/6/14/15 BT.709-like, 8 linear, 4/5 gamma 2.2/2.8
    int matrix = 2;
    bool full_range = true;
};

struct EmbeddedMetadata {
    Bytes exif;  // from the TIFF header on; empty when the file has none that parses as one
    Bytes xmp;
    Bytes icc_profile;
    // TIFF: the IPTC data and image resources as the payload of a JPEG's APP13 "Photoshop 3.0"
    // segment; empty for the other formats and without IPTC.
    Bytes photoshop;
    std::optional<NclxColour> nclx;  // HEIF/AVIF only, when the file gives nclx colour
    // HEIF/AVIF: the decoder applies the file's turn itself, so the Exif Orientation only
    // describes pixels that come out upright already and must not be applied again.
    bool decoder_orients = false;
};

// Reads the blocks of a HEIF/HEIC, AVIF, WebP or PNG file held in memory (the primary image's, for
// HEIF; for PNG the Exif and XMP). Other formats, and damaged files, give an empty record: never a
// failure, never a crash.
EmbeddedMetadata ReadEmbeddedMetadata(ByteView bytes);

// Where the TIFF header of an Exif block starts: 0 for a bare TIFF block, 6 after an "Exif\0\0"
// prefix; nullopt when neither holds.
std::optional<size_t> TiffHeaderOffset(ByteView block);

}  // namespace pelimon
