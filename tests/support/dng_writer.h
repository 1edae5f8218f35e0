// Camera raw files made from a known picture, for the tests of the raw decoder: a little-endian
// DNG whose colour filter array (RGGB) holds each pixel of the picture as a 2 x 2 block of linear
// 12-bit samples, with a camera matrix that makes the camera's colours sRGB's, optionally a
// preview JPEG in a sub-directory and an Exif and GPS directory. The filter pattern, black and
// white levels and white balance may be another camera's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/image.h"
#include "imagelib/imagelib.h"

namespace pelimon::test {

struct DngContents {
    int orientation = 1;
    // The colour of each place of the 2 x 2 filter pattern (0 red, 1 green, 2 blue; RGGB by
    // default), the black level of each place and the white level; the samples span from black
    // to white.
    std::array<uint8_t, 4> pattern = {0, 1, 1, 2};
    std::array<uint16_t, 4> black = {0, 0, 0, 0};
    uint16_t white = 4095;
    std::array<double, 3> as_shot_neutral = {1, 1, 1};
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
