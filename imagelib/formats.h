// Per-format entry points behind SniffFormat, ProbeImage and DecodeImage. Each probe reads only
// the header; each decoder writes the first image into `out` (reusing its allocation) and leaves
// it empty on failure. Errors carry no path; LoadImageFile adds it.
#pragma once

#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

Result<ImageHeader> ProbeBmp(ByteView bytes);
Result<ImageHeader> ProbeJpeg(ByteView bytes);
Result<ImageHeader> ProbePng(ByteView bytes);
Result<ImageHeader> ProbeGif(ByteView bytes);

Status DecodeBmp(ByteView bytes, Image& out);
Status DecodeJpeg(ByteView bytes, const DecodeOptions& options, Image& out);
Status DecodePng(ByteView bytes, Image& out);
Status DecodeGif(ByteView bytes, Image& out);

// The DCT scale numerator (1, 2, 4 or 8, over 8) that JPEG shrink-on-load uses for a width x height
// source: the smallest whose output, rounded up as libjpeg does, is still at least
// min_width x min_height.
int ChooseJpegScale(int width, int height, int min_width, int min_height);

}  // namespace pelimon::imagelib_detail
