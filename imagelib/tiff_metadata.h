// The metadata of a TIFF-structured file (TIFF, BigTIFF, and the raw formats built on TIFF):
// found through its first directory, IFD0, without decoding any pixels.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "common/result.h"
#include "common/tiff_tags.h"
#include "imagelib/imagelib.h"
#include "imagelib/tiff_structure.h"

namespace pelimon {

// The largest Exif block a JPEG APP1 segment holds (65535 less the length field and "Exif\0\0").
inline constexpr size_t kMaxExifBlockBytes = 65535 - 2 - 6;

struct TiffMetadata {
    // A classic TIFF block of its own ("II*\0" or "MM\0*", the file's byte order), as a JPEG's
    // Exif segment holds one: IFD0 with the file's descriptive tags (Make, Model, Orientation,
    // DateTime, Artist, Copyright, resolution ...), the Exif IFD with its Interoperability IFD, and
    // the GPS IFD, each copied entry by entry (a maker note keeps its bytes, but offsets inside it
    // that counted from the file's start no longer hold). At most kMaxExifBlockBytes: a maker note,
    // then any large value, is left out to fit. Empty when the file has none of these (the resolution alone is none).
    Bytes exif;
    Bytes xmp;                       // tag 700, the XMP packet as stored
    Bytes iptc;                      // tag 33723, IPTC-IIM data sets
    Bytes photoshop;                 // tag 34377, Photoshop image resources (which may hold IPTC too)
    Bytes icc_profile;               // tag 34675
    int orientation = 1;             // IFD0's Orientation, 1..8 (1 when absent or out of range)
    int photometric = -1;            // IFD0's PhotometricInterpretation, -1 when absent
    std::vector<uint64_t> sub_ifds;  // offsets of IFD0's SubIFDs (tag 330), as stored
    uint64_t exif_ifd = 0;           // offset of the Exif IFD, 0 when absent
    uint64_t gps_ifd = 0;            // offset of the GPS IFD, 0 when absent
};

// Reads the metadata reachable from IFD0 of `source`, a TIFF-structured file whose magic number is
// one of `magics` (42 TIFF, 43 BigTIFF, or a raw format's own). A file that is none, or whose
// directories are damaged, gives what could be read (never a failure, never a crash).
TiffMetadata ReadTiffMetadata(const TiffSource& source, std::span<const uint16_t> magics);
// The same for a TIFF or BigTIFF file in memory.
TiffMetadata ReadTiffMetadata(ByteView file);

// The directories of an Exif block (from its TIFF header on) as TiffOutDirectory values in the
// block's byte order, ready to be written into another TIFF: [0] holds IFD0's descriptive tags
// and the pointers, which link to the Exif, Interoperability and GPS IFDs after it. Empty when
// the block is no TIFF block or holds none of these; `little_endian` gets its byte order.
std::vector<TiffOutDirectory> ExifDirectories(ByteView exif, bool& little_endian);

// Every entry of `directory` whose value was fetched, as a TiffOutEntry of `tiff`'s byte order
// (8-byte integers as LONGs where they fit; pointers to other directories left out).
TiffOutDirectory CopyDirectory(const TiffStructure& tiff, const TiffDirectory& directory);

// A small TIFF file that holds only `metadata`: IFD0 with the tags of the Exif block's IFD0, its
// sub-IFDs, the PhotometricInterpretation and the XMP, IPTC, Photoshop and ICC blocks, and no
// image. ReadTiffMetadata gives the same metadata back from it.
Bytes TiffMetadataFile(const TiffMetadata& metadata);

// The metadata of the TIFF file open as `file` as TiffMetadataFile writes it: what the batch keeps
// of a source while its pixels stream, a few small reads however large the file is. Fails when
// the file is no TIFF.
Result<Bytes> ReadTiffMetadataFile(std::FILE* file);

}  // namespace pelimon
