// The rate-distortion optimised JPEG encoder behind EncodeJpeg (jpeg_rd_encoder.cpp).
#pragma once

#include "common/result.h"
#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::imagelib_detail {

// The image as a JFIF file at a 1..100 quality, without metadata; the file decodes with every
// baseline or progressive decoder. Failures (memory) are values.
Result<Bytes> EncodeJpegOptimised(const Image& image, int quality);

}  // namespace pelimon::imagelib_detail
