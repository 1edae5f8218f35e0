// Camera raw files made from a known picture, for the tests of the raw decoder: a little-endian
// DNG whose colour filter array (RGGB) holds each pixel of the picture as a 2 x 2 block of linear
// 12-bit samples, with a camera matrix that makes the camera's colours sRGB's, optionally a
// preview JPEG in a sub-directory and an Exif and GPS directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::test {

struct DngContents {
    int orientation = 1;
    Bytes preview_jpeg;                             // none when empty
    std::string shot_date = "2024:05:06 07:08:09";  // DateTimeOriginal in the Exif directory
    bool gps = true;                                // a GPS directory (latitude 35 N)
};

// The DNG of `picture`: 2 * width x 2 * height samples.
Bytes MakeDng(const Image& picture, const DngContents& contents = {});

// Where the raw samples of a MakeDng file begin (they run to the end of the file unless a preview
// follows them).
size_t DngRawDataOffset(const Bytes& dng);

}  // namespace pelimon::test
