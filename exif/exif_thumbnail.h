// The IFD1 thumbnail of an output, made from the output's own pixels so that it shows what was
// written (turned, greyed, toned).
#pragma once

#include "exif/output_metadata.h"
#include "imagelib/image.h"

namespace pelimon {

// The largest thumbnail, as Exif recommends: 160 x 120 (either way round).
inline constexpr int kThumbnailLongSide = 160;
inline constexpr int kThumbnailShortSide = 120;

// `image` fitted inside 160 x 120 (120 x 160 for an upright image; never enlarged) by area
// averaging, as a baseline JPEG without APPn segments. An empty JPEG when encoding fails.
ExifThumbnail MakeExifThumbnail(const Image& image);

}  // namespace pelimon
