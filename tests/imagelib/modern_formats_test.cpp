// HEIF/HEIC, AVIF, WebP and JPEG XL: decoding real and made files, damaged files, the metadata blocks, the
// encoders' round trips and the colour conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "imagelib/colour.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"
#include "test_images.h"

namespace pelimon {
namespace {

using test::PixelAt;
using test::Rgb;

Bytes Modern(const std::string& name) {
    return test::ReadFixture("../modern/" + name);
}

// A file of tests/data/<folder>/.
Bytes DataFile(const std::string& path) {
    return test::ReadFixture("../" + path);
}

// Each channel of `actual` within `tolerance` of `expected`.
bool Near(Rgb actual, Rgb expected, int tolerance) {
    for (size_t c = 0; c < 3; ++c) {
        if (std::abs(actual[c] - expected[c]) > tolerance) {
            return false;
        }
    }
    return true;
}

TEST(ModernFormats, DecodesRealAndMadeFiles) {
    struct Case {
        const char* file;
        ImageFormat format;
        int width;
        int height;
    };
    const Case cases[] = {
        {"modern/nokia-noexif-1440x960.heic", ImageFormat::kHeif, 1440, 960},
        {"modern/iphone11pro-p3.heic", ImageFormat::kHeif, 3024, 4032},  // grid of tiles
        {"modern/srgb-800x600.avif", ImageFormat::kAvif, 800, 600},
        {"modern/made-tenbit.heic", ImageFormat::kHeif, 64, 48},
        {"modern/made-mono.heic", ImageFormat::kHeif, 64, 48},
        {"modern/made-alpha.heic", ImageFormat::kHeif, 64, 48},
        {"modern/made-alpha.avif", ImageFormat::kAvif, 64, 48},
        {"modern/made-irot6.heic", ImageFormat::kHeif, 48, 64},  // turned by its irot box
        {"modern/galaxy-s24fe-rot90.heic", ImageFormat::kHeif, 4000, 1848},
        // The irot box comes before ispe, which gives the coded size.
        {"conformance/kimono.rotate90.avif", ImageFormat::kAvif, 722, 1024},
        {"modern/nikon-d1x-exif.webp", ImageFormat::kWebp, 600, 391},
        {"modern/alpha-lossy.webp", ImageFormat::kWebp, 400, 301},
        {"modern/animated-lossy.webp", ImageFormat::kWebp, 320, 240},  // the first frame's canvas
        // JPEG XL, as shown after the file's orientation.
        {"images/jxl_orientation6.jxl", ImageFormat::kJxl, 256, 100},  // coded 100x256
        {"images/jxl_sunset_logo_orientation7.jxl", ImageFormat::kJxl, 924, 1386},
        {"images/jxl_hdr_pq.jxl", ImageFormat::kJxl, 1024, 1024},
        {"images/jxl_alpha_premultiplied.jxl", ImageFormat::kJxl, 1024, 1024},
        {"images/jxl_animation_ooo_jxlp.jxl", ImageFormat::kJxl, 500, 160},  // the first frame
        {"images/jxl_grey_jpeg_recompressed.jxl", ImageFormat::kJxl, 200, 200},
        {"images/jxl_1x1_exif_xmp.jxl", ImageFormat::kJxl, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = DataFile(c.file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(SniffFormat(bytes), c.format);
        for (const Result<ImageHeader>& header :
             {ProbeImage(bytes), ProbeImageFile(std::string(PELIMON_TEST_DATA_DIR) + "/" + c.file)}) {
            ASSERT_TRUE(header.ok()) << header.error().message;
            EXPECT_EQ(header.value().format, c.format);
            EXPECT_EQ(header.value().width, c.width);
            EXPECT_EQ(header.value().height, c.height);
        }
        const Result<Image> image = DecodeImage(bytes);
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image.value().width(), c.width);
        EXPECT_EQ(image.value().height(), c.height);
    }
}

TEST(ModernFormats, TurnedAvifShowsThePictureUpright) {
    // The same picture, once stored upright and once stored turned with an irot box that turns it
    // back; the two encodes differ a little.
    const Result<Image> upright = DecodeImage(DataFile("conformance/kimono.avif"));
    const Result<Image> turned = DecodeImage(DataFile("conformance/kimono.rotate90.avif"));
    ASSERT_TRUE(upright.ok() && turned.ok()) << (turned.ok() ? "" : turned.error().message);
    ASSERT_EQ(turned.value().width(), upright.value().width());
    ASSERT_EQ(turned.value().height(), upright.value().height());
    int64_t difference = 0;
    for (size_t i = 0; i < upright.value().size_bytes(); ++i) {
        difference += std::abs(upright.value().data()[i] - turned.value().data()[i]);
    }
    EXPECT_LT(difference / static_cast<int64_t>(upright.value().size_bytes()), 4);
}

TEST(ModernFormats, PhoneThumbnailCroppedByItsCodecServesThePreview) {
    // The thumbnail's HEVC stream crops the rows its clap box crops.
    const Result<Image> thumbnail = DecodeImage(Modern("galaxy-s24fe-rot90.heic"), DecodeOptions{400, 150, true});
    ASSERT_TRUE(thumbnail.ok()) << thumbnail.error().message;
    EXPECT_EQ(thumbnail.value().width(), 512);
    EXPECT_EQ(thumbnail.value().height(), 236);
}

TEST(ModernFormats, PixelsOfMadeFiles) {
    // made-source.png: a green band over the top quarter, red on the left, blue on the right; the
    // alpha files are transparent on the right, the irot file is turned a quarter clockwise.
    const Rgb green{40, 200, 40};
    const Rgb red{220, 40, 40};
    const Rgb blue{40, 40, 220};
    const Rgb white{255, 255, 255};
    struct Case {
        const char* file;
        int x;
        int y;
        Rgb expected;
    };
    const Case cases[] = {
        {"made-tenbit.heic", 10, 40, red},  {"made-tenbit.heic", 54, 40, blue}, {"made-tenbit.heic", 32, 3, green},
        {"made-alpha.heic", 10, 40, red},   {"made-alpha.heic", 54, 40, white}, {"made-alpha.avif", 54, 40, white},
        {"made-irot6.heic", 44, 10, green}, {"made-irot6.heic", 10, 5, red},    {"made-irot6.heic", 10, 58, blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        const Result<Image> image = DecodeImage(Modern(c.file));
        ASSERT_TRUE(image.ok());
        EXPECT_TRUE(Near(PixelAt(image.value(), c.x, c.y), c.expected, 12));
    }
    const Result<Image> mono = DecodeImage(Modern("made-mono.heic"));
    ASSERT_TRUE(mono.ok());
    const Rgb grey = PixelAt(mono.value(), 32, 20);
    EXPECT_TRUE(grey[0] == grey[1] && grey[1] == grey[2] && grey[0] > 100 && grey[0] < 160);
}

TEST(ModernFormats, DamagedFilesAreRefusedWithAMessage) {
    for (const char* file : {"bad-atomsize.heif", "bad-nodata.heif", "bad-nometa-1.heif", "bad-nometa-2.heif"}) {
        SCOPED_TRACE(file);
        const Bytes bytes = Modern(file);
        ASSERT_FALSE(bytes.empty());
        const Result<Image> image = DecodeImage(bytes);
        ASSERT_FALSE(image.ok());
        EXPECT_NE(image.error().message.find("HEIF"), std::string::npos);
        EXPECT_EQ(image.error().message.find('\n'), std::string::npos);
        EXPECT_TRUE(ReadEmbeddedMetadata(bytes).exif.empty());
    }
    const Bytes webp = Modern("nikon-d1x-exif.webp");
    const Bytes cut(webp.begin(), webp.begin() + static_cast<long>(webp.size() / 2));
    EXPECT_FALSE(DecodeImage(cut).ok());
}

TEST(ModernFormats, ReducedDecodes) {
    // A WebP shrinks on load to the smallest size that still covers the minimum.
    const Result<Image> webp = DecodeImage(Modern("nikon-d1x-exif.webp"), DecodeOptions{150, 50});
    ASSERT_TRUE(webp.ok());
    EXPECT_EQ(webp.value().width(), 150);
    EXPECT_GE(webp.value().height(), 50);
    // A HEIF gives its thumbnail only when allowed and large enough.
    const Bytes heic = Modern("made-thumb.heic");
    DecodeOptions options{30, 20};
    EXPECT_EQ(DecodeImage(heic, options).value().width(), 64);
    options.allow_thumbnail = true;
    EXPECT_EQ(DecodeImage(heic, options).value().width(), 32);
    options.min_width = 33;
    EXPECT_EQ(DecodeImage(heic, options).value().width(), 64);
}

TEST(ModernFormats, MetadataBlocks) {
    const EmbeddedMetadata heic = ReadEmbeddedMetadata(Modern("iphone11pro-p3.heic"));
    EXPECT_TRUE(heic.decoder_orients);
    EXPECT_EQ(TiffHeaderOffset(heic.exif), size_t{0});
    EXPECT_FALSE(heic.xmp.empty());
    EXPECT_FALSE(heic.icc_profile.empty());
    EXPECT_FALSE(IsSrgbProfile(heic.icc_profile));  // Display P3

    const EmbeddedMetadata avif = ReadEmbeddedMetadata(Modern("srgb-800x600.avif"));
    ASSERT_TRUE(avif.nclx.has_value());
    EXPECT_TRUE(IsSrgbNclx(*avif.nclx));

    const EmbeddedMetadata webp = ReadEmbeddedMetadata(Modern("htc-desire-exif-gps.webp"));
    EXPECT_FALSE(webp.decoder_orients);
    EXPECT_EQ(TiffHeaderOffset(webp.exif), size_t{0});
    EXPECT_TRUE(IsSrgbProfile(webp.icc_profile));
}

TEST(ModernFormats, EncodersRoundTripWithMetadata) {
    const Image image = test::MakeGradient(96, 64);
    const EmbeddedMetadata source = ReadEmbeddedMetadata(Modern("made-irot6.heic"));
    const EmbeddedMetadata phone = ReadEmbeddedMetadata(Modern("iphone11pro-p3.heic"));
    const Bytes& p3 = phone.icc_profile;
    ASSERT_FALSE(source.exif.empty());
    for (const bool avif : {false, true}) {
        SCOPED_TRACE(avif ? "AVIF" : "WebP");
        const EncodeMetadata metadata{source.exif, p3, phone.xmp};
        const Result<Bytes> encoded = avif ? EncodeAvif(image, {.quality = 90, .metadata = metadata})
                                           : EncodeWebp(image, {.quality = 90, .metadata = metadata});
        ASSERT_TRUE(encoded.ok()) << encoded.error().message;
        EXPECT_EQ(SniffFormat(encoded.value()), avif ? ImageFormat::kAvif : ImageFormat::kWebp);
        const Result<Image> decoded = DecodeImage(encoded.value());
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.value().width(), 96);
        EXPECT_EQ(decoded.value().height(), 64);
        const EmbeddedMetadata back = ReadEmbeddedMetadata(encoded.value());
        EXPECT_EQ(back.exif, source.exif);
        EXPECT_EQ(back.icc_profile, p3);
        EXPECT_EQ(back.xmp, phone.xmp);
        // A lower quality makes a smaller file.
        const Result<Bytes> small = avif ? EncodeAvif(image, {.quality = 20}) : EncodeWebp(image, {.quality = 20});
        EXPECT_LT(small.value().size(), encoded.value().size());
    }
}

TEST(ModernFormats, ColourConversion) {
    const Bytes p3 = IccProfileForNclx(NclxColour{12, 13, 6, true});
    const Bytes srgb = IccProfileForNclx(NclxColour{1, 13, 6, true});
    EXPECT_FALSE(IsSrgbProfile(p3));
    EXPECT_TRUE(IsSrgbProfile(srgb));
    EXPECT_FALSE(IsSrgbNclx(NclxColour{12, 13, 6, true}));

    Image image(3, 1);
    const uint8_t pixels[9] = {128, 128, 128, 200, 60, 40, 0, 0, 0};
    std::copy_n(pixels, 9, image.data());
    Image same = image;
    ASSERT_TRUE(ConvertToSrgb(same, srgb).ok());
    EXPECT_LE(test::MaxDifference(same, image), 1);
    ASSERT_TRUE(ConvertToSrgb(image, p3).ok());
    EXPECT_TRUE(Near(PixelAt(image, 0, 0), {128, 128, 128}, 1));  // greys stay grey
    EXPECT_GT(PixelAt(image, 1, 0)[0], 215);                      // P3 red is redder than sRGB's
    EXPECT_EQ(PixelAt(image, 2, 0), (Rgb{0, 0, 0}));
    EXPECT_FALSE(ConvertToSrgb(image, Bytes{1, 2, 3}).ok());
}

}  // namespace
}  // namespace pelimon
