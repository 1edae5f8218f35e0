#include "test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pelimon::test {

Bytes ReadFixture(const std::string& name) {
    const std::string path = std::string(PELIMON_TEST_DATA_DIR) + "/images/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "missing test file " << path;
        return {};
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Rgb PixelAt(const Image& image, int x, int y) {
    const uint8_t* p = image.row(y) + 3 * static_cast<size_t>(x);
    return {p[0], p[1], p[2]};
}

Rgb OverWhite(Rgb colour, int alpha) {
    for (int& c : colour) {
        c = (c * alpha + 255 * (255 - alpha) + 127) / 255;
    }
    return colour;
}

Image MakeGradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.row(y) + 3 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>((x * 37 + y * 11) % 256);
            p[1] = static_cast<uint8_t>((x * 5 + y * 53) % 256);
            p[2] = static_cast<uint8_t>((x * y * 7 + 3) % 256);
        }
    }
    return image;
}

int MaxDifference(const Image& a, const Image& b) {
    int worst = 0;
    for (size_t i = 0; i < std::min(a.size_bytes(), b.size_bytes()); ++i) {
        worst = std::max(worst, std::abs(int{a.data()[i]} - int{b.data()[i]}));
    }
    return worst;
}

}  // namespace pelimon::test
