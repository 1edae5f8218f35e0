// The metadata an output carries, built once per job from the source's metadata and the
// settings, as blocks that every encoder places in its own container (imagelib.h):
//   JPEG: APP1 Exif, APP1 XMP (+ extended XMP), APP2 ICC, APP13 Photoshop/IPTC
//   PNG:  eXIf, iTXt "XML:com.adobe.xmp", iCCP
//   WebP: EXIF, XMP and ICCP chunks; AVIF: Exif and XMP items, colour profile
// BMP and GIF carry none (FormatRow::carries). Nothing else of the source travels: not its other segments, boxes or
// chunks, nor the pictures stored beside the primary one (a gain map, the JPEG MPF segment that
// indexes them), so no XMP property that describes a gain map travels either.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "exif/source_metadata.h"
#include "imagelib/imagelib.h"

namespace pelimon {

// A rebuilt IFD1 thumbnail: a baseline JPEG without APPn segments and its pixel size.
struct ExifThumbnail {
    std::vector<uint8_t> jpeg;
    int width = 0;
    int height = 0;
};

// What the settings and the render decided about one output's metadata.
struct MetadataTransfer {
    bool keep_exif = false;       // Exif 1: Exif, XMP and IPTC travel (the ICC profile always does)
    int output_width = 0;         // written into 0xA002
    int output_height = 0;        // written into 0xA003
    bool pixels_rotated = false;  // the output's pixels were turned: Orientation becomes 1
    bool no_location = false;     // NoLocation 1: no GPS IFD, no XMP or IPTC location
    // Makes the thumbnail of the output's pixels; called only when the kept Exif block has an
    // IFD1. Without it the source's thumbnail stays as it is.
    std::function<ExifThumbnail()> make_thumbnail;
};

// The largest TIFF block a JPEG APP1 segment holds (65535 less the length field and "Exif\0\0").
inline constexpr size_t kMaxExifBlock = 0xFFFF - 2 - 6;

struct OutputMetadata {
    // The Exif TIFF block (from its "II"/"MM" header): pixel size patched, Orientation 1 for
    // turned pixels, IFD1's thumbnail rebuilt (or IFD1 dropped when it would not fit in
    // kMaxExifBlock), the GPS IFD removed for no_location. Every other byte and offset as in the
    // source, so maker notes stay valid. Empty when none.
    std::vector<uint8_t> exif;
    // The standard XMP packet without a gain map's description (kXmpGainMap) and, for no_location,
    // without location properties; empty when none.
    std::vector<uint8_t> xmp;
    // Extended XMP segments' payloads for JPEG outputs: all of a complete set, or none.
    std::vector<std::vector<uint8_t>> extended_xmp;
    // The APP13 "Photoshop 3.0" payload with the IPTC data, for JPEG outputs; empty when none.
    std::vector<uint8_t> photoshop;
    // The ICC profile, carried whatever keep_exif says.
    std::vector<uint8_t> icc_profile;
    // One note per malformed block that was left out (exif/exif_texts.h).
    std::vector<std::string> notes;
};

// Builds the blocks. Malformed blocks are left out with a note: never an error.
OutputMetadata BuildOutputMetadata(const SourceMetadata& source, const MetadataTransfer& transfer);

// Leaves out, each with a note, the Exif block, XMP packet (with its extended parts) or Photoshop
// block that one JPEG segment cannot hold; a HEIF, WebP or PNG source's XMP may be larger. Call it
// for an output whose format keeps its metadata in segments (FormatRow::metadata_in_segments),
// whose encoder would otherwise leave them out silently.
void FitInJpegSegments(OutputMetadata& metadata);

// The blocks as an encoder takes them: views into `metadata`, which must outlive them.
EncodeMetadata BlocksOf(const OutputMetadata& metadata);

}  // namespace pelimon
