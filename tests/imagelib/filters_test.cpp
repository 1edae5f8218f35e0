// Grey, tone, contrast, unsharp masking and the colour count.
#include <gtest/gtest.h>

#include <algorithm>

#include "imagelib/imagelib.h"
#include "test_images.h"

namespace pelimon {
namespace {

Image OnePixel(int r, int g, int b) {
    Image image(1, 1);
    image.data()[0] = static_cast<uint8_t>(r);
    image.data()[1] = static_cast<uint8_t>(g);
    image.data()[2] = static_cast<uint8_t>(b);
    return image;
}

TEST(GrayscaleTest, UsesBt601Luma) {
    struct Case {
        test::Rgb in;
        int grey;
    };
    const Case cases[] = {{{255, 0, 0}, 76}, {{0, 255, 0}, 150}, {{0, 0, 255}, 29},  {{255, 255, 255}, 255},
                          {{0, 0, 0}, 0},    {{77, 77, 77}, 77}, {{128, 64, 32}, 79}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.in[0]) + "," + std::to_string(c.in[1]) + "," + std::to_string(c.in[2]));
        Image image = OnePixel(c.in[0], c.in[1], c.in[2]);
        Grayscale(image);
        EXPECT_EQ(test::PixelAt(image, 0, 0), (test::Rgb{c.grey, c.grey, c.grey}));
    }
}

TEST(ColorToneTest, ScalesGreyPerChannelAndClamps) {
    Image image = OnePixel(100, 100, 100);
    ColorTone(image, 1400, 1000, 725);
    EXPECT_EQ(test::PixelAt(image, 0, 0), (test::Rgb{140, 100, 72}));
    Image bright = OnePixel(200, 200, 200);
    ColorTone(bright, 1400, 1000, 725);
    EXPECT_EQ(test::PixelAt(bright, 0, 0), (test::Rgb{255, 200, 145}));
    Image negative = OnePixel(200, 200, 200);
    ColorTone(negative, -10, 0, 1000);
    EXPECT_EQ(test::PixelAt(negative, 0, 0), (test::Rgb{0, 0, 200}));
}

TEST(ContrastTest, ZeroIsIdentityAndTheSignSetsTheDirection) {
    const Image original = test::MakeGradient(16, 16);
    Image same = original;
    Contrast(same, 0);
    EXPECT_EQ(same, original);

    Image stronger = OnePixel(64, 128, 192);
    Contrast(stronger, 64);  // factor 2
    EXPECT_EQ(test::PixelAt(stronger, 0, 0), (test::Rgb{0, 128, 255}));
    Image weaker = OnePixel(64, 128, 192);
    Contrast(weaker, -64);  // factor 1/2
    EXPECT_EQ(test::PixelAt(weaker, 0, 0), (test::Rgb{96, 128, 160}));
    Image flat = OnePixel(0, 100, 255);
    Contrast(flat, -128);
    EXPECT_EQ(test::PixelAt(flat, 0, 0), (test::Rgb{128, 128, 128}));
    Image threshold = OnePixel(127, 128, 129);
    Contrast(threshold, 500);  // clamped to 128
    EXPECT_EQ(test::PixelAt(threshold, 0, 0), (test::Rgb{0, 128, 255}));
}

TEST(UnsharpMaskTest, ImagesUnderFiveByFiveAreUnchanged) {
    for (const auto& [w, h] : {std::pair{4, 4}, std::pair{4, 9}, std::pair{9, 4}, std::pair{1, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const Image original = test::MakeGradient(w, h);
        Image image = original;
        UnsharpMask(image, 15);
        EXPECT_EQ(image, original);
    }
}

// The direct definition: 25-sample mean, truncated; border keeps s; v = s + k (s - b).
Image ReferenceUnsharp(const Image& src, int gain) {
    Image out = src;
    const double k = gain / 10.0;
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            for (size_t c = 0; c < 3; ++c) {
                const int s = src.row(y)[3 * static_cast<size_t>(x) + c];
                int b = s;
                if (y >= 2 && y < src.height() - 2 && x >= 2 && x < src.width() - 2) {
                    int sum = 0;
                    for (int dy = -2; dy <= 2; ++dy) {
                        for (int dx = -2; dx <= 2; ++dx) {
                            sum += src.row(y + dy)[3 * static_cast<size_t>(x + dx) + c];
                        }
                    }
                    b = sum / 25;
                }
                const double v = std::clamp(s + k * (s - b), 0.0, 255.0);
                out.row(y)[3 * static_cast<size_t>(x) + c] = static_cast<uint8_t>(v + 1e-9);
            }
        }
    }
    return out;
}

TEST(UnsharpMaskTest, MatchesTheDirectDefinition) {
    for (const int gain : {0, 5, 15, 30}) {
        for (const auto& [w, h] : {std::pair{5, 5}, std::pair{12, 7}, std::pair{6, 20}}) {
            SCOPED_TRACE("gain " + std::to_string(gain) + " " + std::to_string(w) + "x" + std::to_string(h));
            const Image original = test::MakeGradient(w, h);
            Image image = original;
            UnsharpMask(image, gain);
            EXPECT_EQ(image, ReferenceUnsharp(original, gain));
        }
    }
}

TEST(UnsharpMaskTest, FlatImagesStayFlat) {
    Image flat(10, 10);
    std::fill_n(flat.data(), flat.size_bytes(), uint8_t{90});
    const Image original = flat;
    UnsharpMask(flat, 15);
    EXPECT_EQ(flat, original);
}

TEST(CountColorsTest, CountsDistinctColours) {
    EXPECT_EQ(CountColors(Image()), 0u);
    EXPECT_EQ(CountColors(Image(4, 4)), 1u);
    Image image(3, 1);
    image.data()[0] = 1;  // (1,0,0), (0,0,0), (0,0,1)
    image.data()[8] = 1;
    EXPECT_EQ(CountColors(image), 3u);
    Image all(4096, 4096);
    for (size_t i = 0; i < size_t{1} << 24; ++i) {
        all.data()[3 * i] = static_cast<uint8_t>(i >> 16);
        all.data()[3 * i + 1] = static_cast<uint8_t>(i >> 8);
        all.data()[3 * i + 2] = static_cast<uint8_t>(i);
    }
    EXPECT_EQ(CountColors(all), 1u << 24);
}

}  // namespace
}  // namespace pelimon
