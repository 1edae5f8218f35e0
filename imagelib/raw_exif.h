// The Exif of a file that is a TIFF structure (most camera raw formats): a compact Exif block of
// its own, with the descriptive tags of the first directory (camera, date, orientation, author),
// the whole Exif directory but its maker note and the whole GPS directory, re-laid out from a new
// TIFF header. The raw data, previews and maker notes stay behind, so the block fits in a JPEG's
// Exif segment.
#pragma once

#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

struct TiffMetadata {
    Bytes exif;  // from its TIFF header on; empty when the file has no Exif directory
    Bytes xmp;   // the XMP packet of tag 700 in the first directory
};

// Every read is bounds-checked; entries that lie outside the file are left out.
TiffMetadata ReadTiffStructureMetadata(ByteView file);

}  // namespace pelimon::imagelib_detail
