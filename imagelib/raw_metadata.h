// What the batch reads of a camera raw file for its metadata (MetadataPlace::kFileStart).
#pragma once

#include <cstdint>
#include <cstdio>

namespace pelimon {

// How many of the first bytes of the camera raw file open as `file` hold what its Exif and XMP are
// read from: for a TIFF structure with an Exif directory, up to the end of its first, Exif and GPS
// directories and their values (a few kilobytes ahead of tens of megabytes of raw data); for the
// other formats, whose Exif may lie in their preview or boxes of their own, the whole start,
// kMaxFileStartMetadataBytes. Never more than the file holds.
uint64_t RawMetadataExtent(std::FILE* file);

}  // namespace pelimon
