// Encoder round trips: encode, decode with our own decoders, compare.
#include <gtest/gtest.h>

#include <cmath>

#include "imagelib/imagelib.h"
#include "test_images.h"

namespace pelimon {
namespace {

// Smooth content of the kind photographs have, where JPEG's error is small.
Image MakeSmooth(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.row(y) + 3 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            p[1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            p[2] = static_cast<uint8_t>(128 + 100 * std::sin(x * 0.1 + y * 0.05));
        }
    }
    return image;
}

double MeanAbsoluteError(const Image& a, const Image& b) {
    double total = 0;
    for (size_t i = 0; i < a.size_bytes(); ++i) {
        total += std::abs(int{a.data()[i]} - int{b.data()[i]});
    }
    return total / static_cast<double>(a.size_bytes());
}

TEST(EncodeTest, LosslessFormatsRoundTripExactly) {
    struct Case {
        int width, height;
    };
    for (const Case c : {Case{7, 5}, Case{1, 1}, Case{4, 3}, Case{16, 9}, Case{33, 2}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const Image image = test::MakeGradient(c.width, c.height);

        const Bytes bmp = EncodeBmp(image).value();
        const size_t stride = (static_cast<size_t>(c.width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(bmp.size(), 54 + stride * static_cast<size_t>(c.height));
        Result<Image> from_bmp = DecodeImage(bmp);
        ASSERT_TRUE(from_bmp.ok()) << from_bmp.error().message;
        EXPECT_EQ(from_bmp.value(), image);

        Result<Bytes> png = EncodePng(image);
        ASSERT_TRUE(png.ok());
        Result<Image> from_png = DecodeImage(png.value());
        ASSERT_TRUE(from_png.ok()) << from_png.error().message;
        EXPECT_EQ(from_png.value(), image);
    }
}

TEST(EncodeTest, BmpIsBottomUp24Bit) {
    Image image(1, 2);
    image.row(0)[0] = 10;  // top pixel red 10
    image.row(1)[2] = 20;  // bottom pixel blue 20
    const Bytes bmp = EncodeBmp(image).value();
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp[54], 20);  // first stored row is the bottom one, in B, G, R order
    EXPECT_EQ(bmp[54 + 4 + 2], 10);
}

// A minimal well-formed display profile header without tags.
Bytes MinimalIccProfile() {
    Bytes profile(132, 0);
    const auto put = [&profile](size_t at, std::string_view text) {
        std::copy(text.begin(), text.end(), profile.begin() + static_cast<std::ptrdiff_t>(at));
    };
    const auto put32 = [&profile](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            profile[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
        }
    };
    put32(0, 132);
    put32(8, 0x02100000);  // version 2.1
    put(12, "mntr");
    put(16, "RGB ");
    put(20, "XYZ ");
    put(36, "acsp");
    put32(68, 0x0000F6D6);  // D50 illuminant
    put32(72, 0x00010000);
    put32(76, 0x0000D32D);
    return profile;
}

TEST(EncodeTest, PngCarriesAnIccProfile) {
    const Image image = test::MakeGradient(5, 4);
    Result<Bytes> png = EncodePng(image, {.metadata = {.icc_profile = MinimalIccProfile()}});
    ASSERT_TRUE(png.ok()) << png.error().message;
    const std::string text(png.value().begin(), png.value().end());
    EXPECT_NE(text.find("iCCP"), std::string::npos);
    Result<Image> decoded = DecodeImage(png.value());
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value(), image);
}

TEST(EncodeTest, PngLeavesOutAMalformedProfile) {
    const Image image = test::MakeGradient(5, 4);
    const Bytes garbage(40, 0x41);
    Result<Bytes> png = EncodePng(image, {.metadata = {.icc_profile = garbage}});
    ASSERT_TRUE(png.ok()) << png.error().message;
    const std::string text(png.value().begin(), png.value().end());
    EXPECT_EQ(text.find("iCCP"), std::string::npos);
    EXPECT_EQ(DecodeImage(png.value()).value(), image);
}

TEST(EncodeTest, JpegRoundTripsWithinTolerance) {
    const Image image = MakeSmooth(64, 48);
    size_t previous_size = 0;
    for (const int quality : {30, 60, 90, 100}) {
        SCOPED_TRACE(quality);
        Result<Bytes> jpeg = EncodeJpeg(image, {.quality = quality});
        ASSERT_TRUE(jpeg.ok());
        EXPECT_GT(jpeg.value().size(), previous_size);  // files grow with quality
        previous_size = jpeg.value().size();
        Result<Image> decoded = DecodeImage(jpeg.value());
        ASSERT_TRUE(decoded.ok());
        ASSERT_EQ(decoded.value().width(), 64);
        EXPECT_LT(MeanAbsoluteError(decoded.value(), image), quality >= 90 ? 2.0 : 5.0);
    }
}

TEST(EncodeTest, JpegClampsQualityAndRefusesEmptyImages) {
    const Image image = MakeSmooth(8, 8);
    EXPECT_EQ(EncodeJpeg(image, {.quality = -5}).value(), EncodeJpeg(image, {.quality = 1}).value());
    EXPECT_EQ(EncodeJpeg(image, {.quality = 500}).value(), EncodeJpeg(image, {.quality = 100}).value());
    EXPECT_FALSE(EncodeJpeg(Image(), {.quality = 80}).ok());
    EXPECT_FALSE(EncodePng(Image()).ok());
    EXPECT_FALSE(EncodeGif(Image()).ok());
}

TEST(EncodeTest, GifRoundTripsWithCloseColours) {
    struct Case {
        const char* name;
        Image image;
        double tolerance;
    };
    Image flat(9, 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const auto& c = test::kColours[static_cast<size_t>((x + 2 * y) % 8)];
            for (size_t ch = 0; ch < 3; ++ch) {
                flat.row(y)[3 * static_cast<size_t>(x) + ch] = static_cast<uint8_t>(c[ch]);
            }
        }
    }
    const Case cases[] = {{"eight colours", flat, 0.5}, {"smooth", MakeSmooth(40, 30), 6.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result<Bytes> gif = EncodeGif(c.image);
        ASSERT_TRUE(gif.ok()) << gif.error().message;
        EXPECT_EQ(SniffFormat(gif.value()), ImageFormat::kGif);
        Result<Image> decoded = DecodeImage(gif.value());
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        ASSERT_EQ(decoded.value().width(), c.image.width());
        ASSERT_EQ(decoded.value().height(), c.image.height());
        EXPECT_LE(MeanAbsoluteError(decoded.value(), c.image), c.tolerance);
    }
}

}  // namespace
}  // namespace pelimon
