// Resamplers: known answers, an independent exact box filter, sampling and growth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "imagelib/imagelib.h"
#include "test_images.h"

namespace pelimon {
namespace {

Image FromValues(int width, int height, const std::vector<int>& grey) {
    Image image(width, height);
    for (size_t i = 0; i < grey.size(); ++i) {
        std::fill_n(image.data() + 3 * i, 3, static_cast<uint8_t>(grey[i]));
    }
    return image;
}

std::vector<int> RedChannel(const Image& image) {
    std::vector<int> values;
    for (size_t i = 0; i < image.size_bytes(); i += 3) {
        values.push_back(image.data()[i]);
    }
    return values;
}

// Exact area average computed independently: for each destination pixel, integrate the source
// over the destination's footprint in double precision, then round.
Image ExactBoxFilter(const Image& src, int width, int height) {
    Image out(width, height);
    const double sx = static_cast<double>(src.width()) / width;
    const double sy = static_cast<double>(src.height()) / height;
    const auto overlap = [](double lo, double hi, int pixel) {
        return std::max(0.0, std::min(hi, pixel + 1.0) - std::max(lo, static_cast<double>(pixel)));
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sums[3] = {0, 0, 0};
            double area = 0;
            for (int v = static_cast<int>(y * sy);
                 v < std::min(src.height(), static_cast<int>(std::ceil((y + 1) * sy))); ++v) {
                for (int u = static_cast<int>(x * sx);
                     u < std::min(src.width(), static_cast<int>(std::ceil((x + 1) * sx))); ++u) {
                    const double weight = overlap(x * sx, (x + 1) * sx, u) * overlap(y * sy, (y + 1) * sy, v);
                    for (size_t c = 0; c < 3; ++c) {
                        sums[c] += weight * src.row(v)[3 * static_cast<size_t>(u) + c];
                    }
                    area += weight;
                }
            }
            for (size_t c = 0; c < 3; ++c) {
                out.row(y)[3 * static_cast<size_t>(x) + c] = static_cast<uint8_t>(std::lround(sums[c] / area));
            }
        }
    }
    return out;
}

TEST(ResampleAreaTest, FourByFourToTwoByTwoAveragesBlocks) {
    const Image src = FromValues(4, 4,
                                 {0, 10, 100, 200,  //
                                  20, 30, 50, 50,   //
                                  255, 255, 1, 2,   //
                                  255, 254, 3, 4});
    Image dst;
    ResizeAreaAverage(src, 2, 2, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>{15, 100, 255, 3}));  // 254.75 rounds to 255; 2.5 to 3
}

TEST(ResampleAreaTest, ThreeToTwoUsesCoverageWeights) {
    // Each output covers 1.5 source pixels: (2a + b) / 3 and (b + 2c) / 3.
    const Image src = FromValues(3, 1, {0, 90, 210});
    Image dst;
    ResizeAreaAverage(src, 2, 1, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>{30, 170}));
    ResizeAreaAverage(FromValues(1, 3, {0, 90, 210}), 1, 2, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>{30, 170}));
}

TEST(ResampleAreaTest, OnePixelImages) {
    Image dst;
    ResizeAreaAverage(FromValues(1, 1, {77}), 1, 1, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>{77}));
    ResizeAreaAverage(FromValues(5, 1, {0, 10, 20, 30, 41}), 1, 1, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>{20}));  // 20.2
    ResizeAreaAverage(FromValues(1, 1, {77}), 3, 2, dst);
    EXPECT_EQ(RedChannel(dst), (std::vector<int>(6, 77)));
    ResizeAreaAverage(FromValues(1, 1, {77}), 0, -4, dst);  // sizes below 1 become 1
    EXPECT_EQ(dst.width(), 1);
    EXPECT_EQ(dst.height(), 1);
}

TEST(ResampleAreaTest, AgreesWithExactBoxFilterWithinOne) {
    struct Case {
        int src_width, src_height, width, height;
    };
    const Case cases[] = {
        {10, 5, 4, 2},  // ratio 2.5
        {37, 23, 15, 9},      {100, 7, 3, 7},   {7, 100, 7, 3}, {150, 113, 64, 48},
        {300, 200, 299, 199}, {97, 61, 97, 61}, {640, 3, 7, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.src_width) + "x" + std::to_string(c.src_height) + " -> " +
                     std::to_string(c.width) + "x" + std::to_string(c.height));
        const Image src = test::MakeGradient(c.src_width, c.src_height);
        Image dst;
        ResizeAreaAverage(src, c.width, c.height, dst);
        ASSERT_EQ(dst.width(), c.width);
        ASSERT_EQ(dst.height(), c.height);
        EXPECT_LE(test::MaxDifference(dst, ExactBoxFilter(src, c.width, c.height)), 1);
    }
}

TEST(ResampleAreaTest, SameSizeIsAnExactCopy) {
    const Image src = test::MakeGradient(13, 11);
    Image dst;
    ResizeAreaAverage(src, 13, 11, dst);
    EXPECT_EQ(dst, src);
}

TEST(ResampleAreaTest, ResizingIntoTheSourceWorks) {
    const Image original = test::MakeGradient(20, 10);
    Image image = original;
    ResizeAreaAverage(image, 8, 4, image);
    Image expected;
    ResizeAreaAverage(original, 8, 4, expected);
    EXPECT_EQ(image, expected);
}

TEST(ResampleAreaTest, GrowthUsesTheTriangleFilter) {
    const Image src = FromValues(2, 1, {0, 252});
    Image area;
    ResizeAreaAverage(src, 4, 1, area);
    Image triangle;
    ResizeTriangle(src, 4, 1, triangle);
    EXPECT_EQ(area, triangle);
    // Block replication would give 0, 0, 252, 252.
    EXPECT_EQ(RedChannel(area), (std::vector<int>{0, 63, 189, 252}));

    // One axis shrinks (area average), the other grows (triangle).
    const Image mixed_src = test::MakeGradient(12, 3);
    Image mixed;
    ResizeAreaAverage(mixed_src, 4, 6, mixed);
    Image narrowed;
    ResizeAreaAverage(mixed_src, 4, 3, narrowed);
    Image expected;
    ResizeTriangle(narrowed, 4, 6, expected);
    EXPECT_LE(test::MaxDifference(mixed, expected), 1);
}

TEST(ResampleTriangleTest, KeepsFlatImagesFlatAndAveragesWhenReducing) {
    Image flat(9, 7);
    std::fill_n(flat.data(), flat.size_bytes(), uint8_t{123});
    for (const auto& [w, h] : {std::pair{3, 2}, std::pair{20, 15}, std::pair{9, 7}, std::pair{1, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Image dst;
        ResizeTriangle(flat, w, h, dst);
        ASSERT_EQ(dst.width(), w);
        EXPECT_EQ(RedChannel(dst), std::vector<int>(static_cast<size_t>(w * h), 123));
    }
    // Widened when reducing: alternating columns average out instead of aliasing.
    Image stripes(8, 1);
    for (int x = 0; x < 8; ++x) {
        std::fill_n(stripes.data() + 3 * x, 3, static_cast<uint8_t>(x % 2 == 0 ? 0 : 200));
    }
    Image dst;
    ResizeTriangle(stripes, 4, 1, dst);
    for (const int v : RedChannel(dst)) {
        EXPECT_NEAR(v, 100, 35);
    }
}

TEST(ResampleSampleTest, CopiesTheSourcePixelUnderEachCentre) {
    const Image src = test::MakeGradient(10, 7);
    for (const auto& [w, h] : {std::pair{4, 3}, std::pair{10, 7}, std::pair{3, 9}, std::pair{25, 2}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Image dst;
        ResizeSample(src, w, h, dst);
        ASSERT_EQ(dst.width(), w);
        ASSERT_EQ(dst.height(), h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int sx = static_cast<int>(std::floor((x + 0.5) * 10 / w));
                const int sy = static_cast<int>(std::floor((y + 0.5) * 7 / h));
                ASSERT_EQ(test::PixelAt(dst, x, y), test::PixelAt(src, sx, sy)) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace pelimon
