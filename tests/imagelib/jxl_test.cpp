// JPEG XL: the pixels of files of public test suites (orientation, HDR, alpha), damage, the
// metadata boxes, the quality's distance and the lossless recompression of a JPEG. Their sizes
// are checked with the other modern formats' (modern_formats_test.cpp).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "imagelib/colour.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"
#include "imagelib/jxl_support.h"
#include "test_images.h"
#include "tests/support/jxl_reconstruction.h"

namespace pelimon {
namespace {

using test::PixelAt;
using test::ReadFixture;
using test::Rgb;

TEST(Jxl, PixelsAreUprightOverWhiteAndInSdr) {
    const Result<Image> turned = DecodeImage(ReadFixture("jxl_orientation6.jxl"));
    ASSERT_TRUE(turned.ok());
    // A blue L: a bar along the top and a short leg down the left side.
    EXPECT_EQ(PixelAt(turned.value(), 200, 25), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelAt(turned.value(), 25, 70), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelAt(turned.value(), 200, 70), (Rgb{255, 255, 255}));

    const Result<Image> alpha = DecodeImage(ReadFixture("jxl_alpha_premultiplied.jxl"));
    ASSERT_TRUE(alpha.ok());
    EXPECT_EQ(PixelAt(alpha.value(), 1020, 3), (Rgb{255, 255, 255}));  // transparent

    // PQ: the grey steps of the top rows rise from near black to white, SDR white (203 cd/m²)
    // being white; without tone mapping everything would be dark.
    const Result<Image> hdr = DecodeImage(ReadFixture("jxl_hdr_pq.jxl"));
    ASSERT_TRUE(hdr.ok());
    int previous = -1;
    for (const int x : {20, 200, 400, 600, 900}) {
        const int grey = PixelAt(hdr.value(), x, 64)[1];
        EXPECT_GE(grey, previous) << x;
        previous = grey;
    }
    EXPECT_LT(PixelAt(hdr.value(), 20, 64)[1], 40);
    EXPECT_GT(PixelAt(hdr.value(), 900, 64)[1], 240);
}

TEST(Jxl, ReadsExifAndXmpBoxesAlsoCompressedOnes) {
    for (const char* file : {"jxl_1x1_exif_xmp.jxl", "jxl_truncated_brob_boxes.jxl"}) {
        SCOPED_TRACE(file);
        const EmbeddedMetadata metadata = ReadEmbeddedMetadata(ReadFixture(file));
        EXPECT_TRUE(metadata.decoder_orients);  // libjxl applies the orientation
        EXPECT_EQ(TiffHeaderOffset(metadata.exif), size_t{0});
        EXPECT_NE(std::string(metadata.xmp.begin(), metadata.xmp.end()).find("x:xmpmeta"), std::string::npos);
    }
}

TEST(Jxl, DamagedFileIsRefusedWithAMessage) {
    const Bytes bytes = ReadFixture("jxl_truncated_brob_boxes.jxl");
    const Result<Image> image = DecodeImage(bytes);
    ASSERT_FALSE(image.ok());
    EXPECT_FALSE(image.error().message.empty());
    const Bytes codestream_start = {0xFF, 0x0A, 0xFA};
    EXPECT_FALSE(DecodeImage(codestream_start).ok());
}

TEST(Jxl, DecodeIsGivenUpWhenItsTimeHasPassed) {
    const Bytes bytes = ReadFixture("jxl_hdr_pq.jxl");
    imagelib_detail::JxlReader reader(bytes, std::chrono::milliseconds(0));
    ASSERT_TRUE(reader);
    JxlDecoderSubscribeEvents(reader.get(), JXL_DEC_FULL_IMAGE);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    Bytes pixels(size_t{1024} * 1024 * 3);
    JxlDecoderStatus status = JxlDecoderProcessInput(reader.get());
    if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
        JxlDecoderSetImageOutBuffer(reader.get(), &format, pixels.data(), pixels.size());
        status = JxlDecoderProcessInput(reader.get());
    }
    EXPECT_EQ(status, JXL_DEC_ERROR);
    EXPECT_TRUE(reader.ran_out_of_time());
}

TEST(Jxl, EncoderStoresMetadataInBoxesAndProfileInCodestream) {
    const Image image = test::MakeGradient(48, 32);
    const Bytes exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    EncodeOptions options;
    options.metadata.exif = exif;
    options.metadata.xmp = ByteView(reinterpret_cast<const uint8_t*>(xmp.data()), xmp.size());
    const Result<Bytes> encoded = EncodeJxl(image, options);
    ASSERT_TRUE(encoded.ok()) << encoded.error().message;
    const EmbeddedMetadata read = ReadEmbeddedMetadata(encoded.value());
    EXPECT_EQ(read.exif, exif);
    EXPECT_EQ(std::string(read.xmp.begin(), read.xmp.end()), xmp);
    EXPECT_TRUE(read.icc_profile.empty());  // sRGB

    // A Display P3 profile: the pixels come back in P3, with a profile that says so.
    const Bytes p3 = IccProfileForNclx(NclxColour{12, 13, 6, true});
    const Result<Bytes> wide = EncodeJxl(image, {.quality = 90, .metadata = {.icc_profile = p3}});
    ASSERT_TRUE(wide.ok()) << wide.error().message;
    const Bytes decoded_profile = ReadEmbeddedMetadata(wide.value()).icc_profile;
    EXPECT_FALSE(decoded_profile.empty());
    EXPECT_FALSE(IsSrgbProfile(decoded_profile));

    // A grey source's profile cannot describe RGB pixels: the output says sRGB instead of failing.
    const Bytes grey = ReadEmbeddedMetadata(ReadFixture("jxl_grey_jpeg_recompressed.jxl")).icc_profile;
    ASSERT_FALSE(grey.empty());
    const Result<Bytes> from_grey = EncodeJxl(image, {.quality = 90, .metadata = {.icc_profile = grey}});
    ASSERT_TRUE(from_grey.ok()) << from_grey.error().message;
    EXPECT_TRUE(ReadEmbeddedMetadata(from_grey.value()).icc_profile.empty());
}

TEST(Jxl, QualityMapsOntoDistanceAsCjxlDoes) {
    const std::pair<int, float> cases[] = {{100, 0.1f}, {150, 0.1f}, {90, 1.0f}, {80, 1.9f},
                                           {30, 6.4f},  {25, 6.8f},  {1, 25.0f}, {-5, 25.0f}};
    for (const auto& [quality, distance] : cases) {
        EXPECT_NEAR(JxlDistanceOfQuality(quality), distance, 0.01f) << quality;
    }
    const Image image = test::MakeGradient(64, 64);
    const Result<Bytes> low = EncodeJxl(image, {.quality = 30});
    const Result<Bytes> high = EncodeJxl(image, {.quality = 95});
    ASSERT_TRUE(low.ok() && high.ok());
    EXPECT_LT(low.value().size(), high.value().size());
}

TEST(Jxl, JpegRecompressionRestoresTheJpegBitForBit) {
    for (const char* file : {"jpeg_baseline.jpg", "jpeg_progressive.jpg", "jpeg_grey.jpg"}) {
        SCOPED_TRACE(file);
        const Bytes jpeg = ReadFixture(file);
        const Result<Bytes> jxl = RecompressJpegAsJxl(jpeg);
        ASSERT_TRUE(jxl.ok()) << jxl.error().message;
        EXPECT_EQ(SniffFormat(jxl.value()), ImageFormat::kJxl);
        EXPECT_EQ(test::ReconstructJpeg(jxl.value()), jpeg);
    }
    EXPECT_FALSE(RecompressJpegAsJxl(ReadFixture("jpeg_cmyk.jpg")).ok());
}

}  // namespace
}  // namespace pelimon
