// The Exif of a file that is a TIFF structure (most camera raw formats): a compact Exif block of
// its own, with the descriptive tags of the first directory (camera, date, orientation, author),
// the whole Exif directory but its maker note and the whole GPS directory, re-laid out from a new
// TIFF header. The raw data, previews and maker notes stay behind, so the block fits in a JPEG's
// Exif segment.
#pragma once

#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// A value larger than this is no description of the photo (a maker's private block).
inline constexpr size_t kMaxRawExifValueBytes = 16 * 1024;

struct TiffMetadata {
    Bytes exif;  // from its TIFF header on; empty when the file has no Exif directory
    Bytes xmp;   // the XMP packet of tag 700 in the first directory
};

// Every read is bounds-checked; entries that lie outside the file are left out.
TiffMetadata ReadTiffStructureMetadata(ByteView file);

// The same compact block from three TIFF structures whose first directories are the first
// directory, the Exif directory and the GPS directory (a CR3 file's CMT1, CMT2 and CMT4 boxes; an
// empty or unreadable `gps` leaves the location out). Empty unless the first two are of one byte
// order.
Bytes CombineTiffDirectories(ByteView ifd0, ByteView exif, ByteView gps);

}  // namespace pelimon::imagelib_detail
