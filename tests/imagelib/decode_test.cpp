// Every decoder on small fixtures of each variant, the header probe, and JPEG shrink-on-load.
#include <gtest/gtest.h>

#include <functional>
#include <string_view>

#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "test_images.h"
#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

using test::kAlphas;
using test::kColours;
using test::kGreys;
using test::Rgb;

using Expected = std::function<Rgb(int x, int y)>;

Rgb Pattern(int x, int y) {
    return kColours[static_cast<size_t>((x + 2 * y) % 8)];
}
Rgb Pattern2(int x, int y) {
    return kColours[static_cast<size_t>((x + 2 * y) % 2)];
}
Rgb PatternAlpha(int x, int y) {
    return test::OverWhite(Pattern(x, y), kAlphas[static_cast<size_t>((x + y) % 3)]);
}
Rgb Grey(int x, int y) {
    const int g = kGreys[static_cast<size_t>((x + 2 * y) % 8)];
    return {g, g, g};
}
Rgb GreyAlpha(int x, int y) {
    return test::OverWhite(Grey(x, y), kAlphas[static_cast<size_t>((x + y) % 3)]);
}
Rgb Grey1Bit(int x, int y) {
    const int g = (x + 2 * y) % 2 == 1 ? 255 : 0;
    return {g, g, g};
}
Rgb PaletteTransparentRed(int x, int y) {
    return (x + 2 * y) % 8 == 0 ? Rgb{255, 255, 255} : Pattern(x, y);
}
Rgb GifInterlaced(int x, int y) {
    return kColours[static_cast<size_t>((x / 4 + 2 * y) % 8)];
}
Rgb Quadrants(int x, int y) {
    static constexpr std::array<Rgb, 4> kQuadrants{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
    return kQuadrants[static_cast<size_t>((y / 16) * 2 + x / 16)];
}
Rgb QuadrantsGrey(int x, int y) {
    const Rgb c = Quadrants(x, y);
    // ImageMagick made the fixture grey with Rec. 709 luma weights.
    const int g = (2126 * c[0] + 7152 * c[1] + 722 * c[2] + 5000) / 10000;
    return {g, g, g};
}

struct DecodeCase {
    const char* file;
    ImageFormat format;
    int width;
    int height;
    Expected expected;
    int tolerance;
    int margin = 0;  // pixels this close to a colour edge are not compared (lossy formats)
};

const std::vector<DecodeCase>& DecodeCases() {
    static const std::vector<DecodeCase> cases{
        {"bmp_1bit.bmp", ImageFormat::kBmp, 7, 5, Pattern2, 0},
        {"bmp_4bit.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_8bit.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_8bit_topdown.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_rle4.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_rle8.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_16bit.bmp", ImageFormat::kBmp, 7, 5, Pattern, 8},
        {"bmp_16bit_565.bmp", ImageFormat::kBmp, 7, 5, Pattern, 8},
        {"bmp_24bit.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_24bit_topdown.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_24bit_os2.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_32bit.bmp", ImageFormat::kBmp, 7, 5, Pattern, 0},
        {"bmp_32bit_alpha.bmp", ImageFormat::kBmp, 7, 5, PatternAlpha, 1},
        {"png_rgb.png", ImageFormat::kPng, 7, 5, Pattern, 0},
        {"png_rgb16.png", ImageFormat::kPng, 7, 5, Pattern, 0},
        {"png_rgba.png", ImageFormat::kPng, 7, 5, PatternAlpha, 1},
        {"png_grey.png", ImageFormat::kPng, 7, 5, Grey, 0},
        {"png_grey_1bit.png", ImageFormat::kPng, 7, 5, Grey1Bit, 0},
        {"png_grey_alpha.png", ImageFormat::kPng, 7, 5, GreyAlpha, 1},
        {"png_palette.png", ImageFormat::kPng, 7, 5, Pattern, 0},
        {"png_palette_trns.png", ImageFormat::kPng, 7, 5, PaletteTransparentRed, 0},
        {"png_interlaced.png", ImageFormat::kPng, 7, 5, Pattern, 0},
        {"gif_transparent.gif", ImageFormat::kGif, 7, 5, PaletteTransparentRed, 0},
        {"gif_interlaced.gif", ImageFormat::kGif, 16, 17, GifInterlaced, 0},
        {"jpeg_baseline.jpg", ImageFormat::kJpeg, 32, 32, Quadrants, 12, 3},
        {"jpeg_progressive.jpg", ImageFormat::kJpeg, 32, 32, Quadrants, 12, 3},
        {"jpeg_grey.jpg", ImageFormat::kJpeg, 32, 32, QuadrantsGrey, 8, 3},
        {"jpeg_cmyk.jpg", ImageFormat::kJpeg, 32, 32, Quadrants, 24, 3},
        {"tiff_rgb_lzw.tif", ImageFormat::kTiff, 7, 5, Pattern, 0},
        {"tiff_rgb16_deflate_tiled_be.tif", ImageFormat::kTiff, 7, 5, Pattern, 0},
        {"tiff_rgb_planar_bigtiff.tif", ImageFormat::kTiff, 7, 5, Pattern, 0},
        {"tiff_grey16_packbits.tif", ImageFormat::kTiff, 7, 5, Grey, 0},
        {"tiff_bilevel_g4.tif", ImageFormat::kTiff, 7, 5, Grey1Bit, 0},
        {"tiff_rgba_unassociated.tif", ImageFormat::kTiff, 7, 5, PatternAlpha, 0},
        {"tiff_rgba_associated.tif", ImageFormat::kTiff, 7, 5, PatternAlpha, 1},
        {"tiff_cmyk.tif", ImageFormat::kTiff, 7, 5, Pattern, 0},
        {"tiff_multipage.tif", ImageFormat::kTiff, 7, 5, Pattern, 0},
        {"tiff_jpeg_rgb.tif", ImageFormat::kTiff, 32, 32, Quadrants, 12, 3},
    };
    return cases;
}

bool NearEdge(int x, int y, int margin) {
    const auto near = [margin](int v) { return v % 16 < margin || v % 16 >= 16 - margin; };
    return margin > 0 && (near(x) || near(y));
}

TEST(DecodeTest, EveryVariantDecodesToItsColours) {
    for (const DecodeCase& c : DecodeCases()) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = test::ReadFixture(c.file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(SniffFormat(bytes), c.format);
        Result<Image> image = DecodeImage(bytes);
        ASSERT_TRUE(image.ok()) << image.error().message;
        ASSERT_EQ(image.value().width(), c.width);
        ASSERT_EQ(image.value().height(), c.height);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                if (NearEdge(x, y, c.margin)) {
                    continue;
                }
                const Rgb got = test::PixelAt(image.value(), x, y);
                const Rgb want = c.expected(x, y);
                for (size_t ch = 0; ch < 3; ++ch) {
                    ASSERT_NEAR(got[ch], want[ch], c.tolerance) << "pixel " << x << "," << y << " channel " << ch;
                }
            }
        }
    }
}

TEST(DecodeTest, ProbeReadsTheHeaderOfEveryVariant) {
    for (const DecodeCase& c : DecodeCases()) {
        SCOPED_TRACE(c.file);
        Result<ImageHeader> header = ProbeImage(test::ReadFixture(c.file));
        ASSERT_TRUE(header.ok()) << header.error().message;
        EXPECT_EQ(header.value().format, c.format);
        EXPECT_EQ(header.value().width, c.width);
        EXPECT_EQ(header.value().height, c.height);

        Result<ImageHeader> from_file = ProbeImageFile(std::string(PELIMON_TEST_DATA_DIR) + "/images/" + c.file);
        ASSERT_TRUE(from_file.ok()) << from_file.error().message;
        EXPECT_EQ(from_file.value().width, c.width);
    }
}

TEST(DecodeTest, DecodeReusesTheOutputAndLoadsFiles) {
    Image out(100, 100);
    ASSERT_TRUE(DecodeImage(test::ReadFixture("png_rgb.png"), {}, out).ok());
    EXPECT_EQ(out.width(), 7);
    Result<Image> loaded = LoadImageFile(std::string(PELIMON_TEST_DATA_DIR) + "/images/bmp_24bit.bmp");
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value(), out);
}

TEST(DecodeTest, MissingFileNamesThePath) {
    const std::string path = "/nonexistent/pelimon/photo.jpg";
    Result<Image> loaded = LoadImageFile(path);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().path, path);
    Result<ImageHeader> probed = ProbeImageFile(path);
    ASSERT_FALSE(probed.ok());
    EXPECT_EQ(probed.error().message, "ファイルが見つかりません。");
}

TEST(DecodeTest, ProbeFileFindsFrameHeaderAfterLargeSegments) {
    // A 200 KB APP15 segment pushed the SOF far beyond the first 64 KiB read.
    Result<Bytes> jpeg = EncodeJpeg(test::MakeGradient(40, 30), {.quality = 90});
    ASSERT_TRUE(jpeg.ok());
    Bytes bytes(jpeg.value().begin(), jpeg.value().begin() + 2);
    for (int i = 0; i < 4; ++i) {
        const size_t length = 60000;
        bytes.insert(bytes.end(), {0xFF, 0xEF, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)});
        bytes.insert(bytes.end(), length - 2, 0x55);
    }
    bytes.insert(bytes.end(), jpeg.value().begin() + 2, jpeg.value().end());
    const test::TempFolder dir;
    const std::string path =
        dir.Write("big_app.jpg", std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    Result<ImageHeader> header = ProbeImageFile(path);
    ASSERT_TRUE(header.ok()) << header.error().message;
    EXPECT_EQ(header.value().width, 40);
    EXPECT_EQ(header.value().height, 30);
}

TEST(DecodeTest, JpegWithStrayBytesBetweenSegmentsDecodes) {
    const Image image = test::MakeGradient(24, 16);
    Result<Bytes> jpeg = EncodeJpeg(image, {.quality = 95});
    ASSERT_TRUE(jpeg.ok());
    Bytes bytes = jpeg.value();
    const size_t after_app0 = 4 + (size_t{bytes[4]} << 8 | bytes[5]);  // SOI, then APP0's length
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(after_app0), {0x00, 0x12, 0x34});
    Result<ImageHeader> header = ProbeImage(bytes);
    ASSERT_TRUE(header.ok()) << header.error().message;
    EXPECT_EQ(header.value().width, 24);
    Result<Image> decoded = DecodeImage(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(decoded.value(), DecodeImage(jpeg.value()).value());
}

TEST(ShrinkOnLoadTest, ChoosesTheSmallestScaleThatKeepsTheMinimum) {
    struct Case {
        int width, height, min_width, min_height, scale;
    };
    const Case cases[] = {
        {4000, 3000, 1280, 960, 4},  // 2000 x 1500; 2/8 would give 1000 x 750
        {4000, 3000, 1000, 750, 2},
        {4000, 3000, 500, 375, 1},
        {4000, 3000, 4000, 3000, 8},
        {4000, 3000, 3501, 0, 8},
        {4000, 3000, 0, 0, 1},
        {9, 9, 3, 3, 2},  // ceil(9 * 2 / 8) = 3
        {9, 9, 4, 4, 4},  // 3/8 is never used
        {4000, 3000, 8000, 6000, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " min " + std::to_string(c.min_width) +
                     "x" + std::to_string(c.min_height));
        EXPECT_EQ(imagelib_detail::ChooseJpegScale(c.width, c.height, c.min_width, c.min_height), c.scale);
    }
}

TEST(ShrinkOnLoadTest, DecodedSizeIsAtLeastTheMinimum) {
    Result<Bytes> jpeg = EncodeJpeg(test::MakeGradient(400, 300), {.quality = 90});
    ASSERT_TRUE(jpeg.ok());
    struct Case {
        DecodeOptions options;
        int width, height;
    };
    const Case cases[] = {{{0, 0}, 400, 300}, {{100, 75}, 100, 75}, {{101, 75}, 200, 150},
                          {{50, 10}, 50, 38}, {{1, 1}, 50, 38},     {{400, 300}, 400, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.options.min_width) + "x" + std::to_string(c.options.min_height));
        Result<Image> image = DecodeImage(jpeg.value(), c.options);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image.value().width(), c.width);
        EXPECT_EQ(image.value().height(), c.height);
    }
}

TEST(ShrinkOnLoadTest, OtherFormatsIgnoreTheMinimum) {
    Result<Image> image = DecodeImage(test::ReadFixture("png_rgb.png"), DecodeOptions{1, 1});
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.value().width(), 7);
}

TEST(VersionTest, IsAtLeastTheMinimum) {
    EXPECT_GE(ImgGetVersion(), kMinimumLibraryVersion);
}

}  // namespace
}  // namespace pelimon
