// Helpers shared by the image library tests: fixture files, pattern images and pixel comparisons.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "imagelib/imagelib.h"

namespace pelimon::test {

using Rgb = std::array<int, 3>;

// The colours of the lossless fixtures (tests/data/images/make_fixtures.py): pixel (x, y) is
// kColours[(x + 2 y) % n], alpha kAlphas[(x + y) % 3] where a fixture has alpha.
inline constexpr std::array<Rgb, 8> kColours{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0}, {0, 255, 255}, {128, 64, 32}}};
inline constexpr std::array<int, 8> kGreys{0, 36, 73, 109, 146, 182, 219, 255};
inline constexpr std::array<int, 3> kAlphas{255, 0, 128};

// Bytes of tests/data/images/<name>; an empty vector and a test failure naming the file when it
// is missing.
Bytes ReadFixture(const std::string& name);

Rgb PixelAt(const Image& image, int x, int y);
Rgb OverWhite(Rgb colour, int alpha);

// An image whose every pixel differs from its neighbours, so that misplaced pixels show.
Image MakeGradient(int width, int height);

// Largest per-channel difference between two images of the same size.
int MaxDifference(const Image& a, const Image& b);

}  // namespace pelimon::test
