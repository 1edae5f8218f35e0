// Half-size development of a Bayer mosaic straight from libraw's unpacked raw data, with libraw's
// arithmetic: each 2 x 2 block of the colour filter array becomes one pixel (its black level taken
// off, the camera's white balance applied and clipped, the two greens averaged), converted to
// sRGB by the camera's matrix, brightened so that the brightest 1 % of the pixels clip, and put
// on libraw's default curve (power 0.45 with a linear toe of slope 4.5) at 8 bits. It gives what
// libraw's own development at half size gives, without its copies of the picture in four 16-bit
// channels.
#pragma once

#include <libraw/libraw.h>

#include "imagelib/image.h"

namespace pelimon::imagelib_detail {

// Whether the raw data `raw` unpacked is a mosaic DevelopAtHalfSize develops as libraw would:
// a 2 x 2 Bayer pattern of three colours with a colour matrix and the camera's white balance, and
// none of what libraw handles on its own (other filter patterns, Foveon and linear raw data, Fuji's
// turned sensors, pixels that are not square, black levels that vary within a block).
bool DevelopsAtHalfSize(LibRaw& raw);

// Develops the unpacked mosaic into `out`, in the sensor's frame (before the file's turn).
void DevelopAtHalfSize(LibRaw& raw, Image& out);

}  // namespace pelimon::imagelib_detail
