// TIFF decoding beyond the lossless fixtures of decode_test.cpp: real files of public test suites
// (YCbCr, JPEG-in-TIFF, CMYK tiles, CCITT, BigTIFF, damaged ones), CMYK through its ICC profile,
// and the streamed decode of a file taller than its rows.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <cstdio>
#include <string>

#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "imagelib/tiff_structure.h"
#include "test_images.h"

namespace pelimon {
namespace {

Bytes ReadTiffData(const std::string& name) {
    Bytes bytes;
    std::FILE* file = std::fopen((std::string(PELIMON_TEST_DATA_DIR) + "/tiff/" + name).c_str(), "rb");
    EXPECT_NE(file, nullptr) << name;
    if (file != nullptr) {
        uint8_t buffer[65536];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.insert(bytes.end(), buffer, buffer + got);
        }
        std::fclose(file);
    }
    return bytes;
}

TEST(TiffDecode, RealFilesDecodeAtTheirSizeAndDamagedOnesFail) {
    const struct {
        const char* name;
        int width;  // 0: the file is damaged and must be refused
        int height;
    } kCases[] = {
        {"lt_dscf0013.tif", 640, 480},         // YCbCr 4:2:2, through libtiff's RGBA interface
        {"lt_flower-palette-04.tif", 73, 43},  // 4-bit palette
        {"lt_quad-jpeg.tif", 512, 384},        // YCbCr JPEG strips
        {"lt_strike.tif", 256, 200},           // associated alpha, LZW
        {"ltt_custom_dir_EXIF_GPS.tiff", 1, 1},
        {"ltt_test_ifd_loop_to_self.tif", 20, 20},
        {"mei_BigTIFFLong8Tiles.tif", 64, 64},
        {"pil_g4_orientation_6.tif", 88, 590},  // as stored: the Exif path turns it
        {"pil_hopper.iccprofile.tif", 128, 128},
        {"pil_tiff_tiled_cmyk_jpeg.tif", 100, 100},
        {"pil_crash-0c7e0e8e.tif", 0, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = ReadTiffData(c.name);
        EXPECT_EQ(SniffFormat(bytes), ImageFormat::kTiff);
        const Result<Image> image = DecodeImage(bytes);
        if (c.width == 0) {
            ASSERT_FALSE(image.ok());
            EXPECT_FALSE(image.error().message.empty());
            continue;
        }
        ASSERT_TRUE(image.ok()) << image.error().message;
        EXPECT_EQ(image.value().width(), c.width);
        EXPECT_EQ(image.value().height(), c.height);
        const Result<ImageHeader> header = ProbeImage(bytes);
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header.value().width, c.width);
        EXPECT_EQ(header.value().height, c.height);
    }
}

// A CMYK profile whose colours are the opposite of the plain formula's, so that a decode through
// it cannot be mistaken for one without it: each CMYK corner maps to the Lab of 255 minus the
// formula's sRGB colour.
Bytes InvertingCmykProfile() {
    struct Close {
        void operator()(void* p) const { cmsCloseProfile(p); }
    };
    const std::unique_ptr<void, Close> srgb(cmsCreate_sRGBProfile());
    const std::unique_ptr<void, Close> lab(cmsCreateLab4Profile(nullptr));
    cmsHTRANSFORM to_lab = cmsCreateTransform(srgb.get(), TYPE_RGB_8, lab.get(), TYPE_Lab_16, INTENT_PERCEPTUAL, 0);
    const std::unique_ptr<void, Close> profile(cmsCreateProfilePlaceholder(nullptr));
    cmsSetProfileVersion(profile.get(), 2.1);
    cmsSetDeviceClass(profile.get(), cmsSigOutputClass);
    cmsSetColorSpace(profile.get(), cmsSigCmykData);
    cmsSetPCS(profile.get(), cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr);
    const auto sample = [](const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
        const auto ink = [&](int c) {
            return static_cast<int>(int64_t{65535 - in[c]} * (65535 - in[3]) / 65535 / 257);
        };
        const uint8_t rgb[3] = {static_cast<uint8_t>(255 - ink(0)), static_cast<uint8_t>(255 - ink(1)),
                                static_cast<uint8_t>(255 - ink(2))};
        cmsDoTransform(cargo, rgb, out, 1);
        return 1;
    };
    cmsStageSampleCLut16bit(table, sample, to_lab, 0);
    cmsPipelineInsertStage(pipeline, cmsAT_BEGIN, table);
    cmsWriteTag(profile.get(), cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(to_lab);
    // Written through an I/O handler: lcms2 2.14 reports a size of 0 for this profile when asked
    // for it by cmsSaveProfileToMem.
    Bytes icc(size_t{1} << 16);
    cmsIOHANDLER* io = cmsOpenIOhandlerFromMem(nullptr, icc.data(), static_cast<cmsUInt32Number>(icc.size()), "w");
    icc.resize(cmsSaveProfileToIOhandler(profile.get(), io));
    cmsCloseIOhandler(io);
    return icc;
}

// An uncompressed 8-bit CMYK TIFF of the given pixels with `icc` as its profile.
Bytes CmykTiff(const Bytes& cmyk, uint32_t width, const Bytes& icc) {
    const bool little = true;
    Bytes file(8 + cmyk.size(), 0);
    file[0] = file[1] = 'I';
    file[2] = 42;
    std::copy(cmyk.begin(), cmyk.end(), file.begin() + 8);
    const auto number = [&](uint16_t tag, uint32_t value) {
        return TiffOutEntry{.tag = tag, .type = kTiffLong, .count = 1, .value = TiffLongBytes(little, value)};
    };
    Bytes bits;
    for (int i = 0; i < 4; ++i) {
        const Bytes eight = TiffShortBytes(little, 8);
        bits.insert(bits.end(), eight.begin(), eight.end());
    }
    const auto height = static_cast<uint32_t>(cmyk.size() / 4 / width);
    const std::vector<TiffOutDirectory> ifd0 = {{
        number(0x0100, width),
        number(0x0101, height),
        TiffOutEntry{.tag = 0x0102, .type = kTiffShort, .count = 4, .value = bits},
        number(0x0106, 5),
        number(0x0111, 8),
        number(0x0115, 4),
        number(0x0116, height),
        number(0x0117, static_cast<uint32_t>(cmyk.size())),
        TiffOutEntry{.tag = 0x8773, .type = kTiffUndefined, .count = static_cast<uint32_t>(icc.size()), .value = icc},
    }};
    const std::optional<uint32_t> first = AppendTiffDirectories(file, little, ifd0);
    const Bytes offset = TiffLongBytes(little, first.value_or(0));
    std::copy(offset.begin(), offset.end(), file.begin() + 4);
    return file;
}

TEST(TiffDecode, CmykGoesThroughItsProfileOnlyWhenAsked) {
    // Cyan, magenta, yellow, no ink, black.
    const Bytes cmyk = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 255};
    const test::Rgb formula[] = {{0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255}, {0, 0, 0}};
    const Bytes file = CmykTiff(cmyk, 5, InvertingCmykProfile());
    // Through the profile the colours are inverted, give or take the black-point compensation.
    for (const bool by_profile : {true, false}) {
        SCOPED_TRACE(by_profile ? "through the profile" : "by the formula");
        const Result<Image> image = DecodeImage(file, {.cmyk_by_profile = by_profile});
        ASSERT_TRUE(image.ok()) << image.error().message;
        for (int x = 0; x < 5; ++x) {
            const test::Rgb got = test::PixelAt(image.value(), x, 0);
            for (size_t c = 0; c < 3; ++c) {
                const int want = by_profile ? 255 - formula[x][c] : formula[x][c];
                EXPECT_NEAR(got[c], want, by_profile ? 24 : 0) << "pixel " << x << " channel " << c;
            }
        }
    }
}

TEST(TiffDecode, StreamedRowsAreTheWholeDecodesRows) {
    for (const char* name : {"lt_dscf0013.tif", "lt_quad-jpeg.tif", "mei_BigTIFFLong8Tiles.tif"}) {
        SCOPED_TRACE(name);
        const Bytes bytes = ReadTiffData(name);
        const Result<Image> whole = DecodeImage(bytes);
        ASSERT_TRUE(whole.ok());
        std::FILE* file = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
        ASSERT_NE(file, nullptr);
        Image streamed;
        ResizingSink sink(ResizeMethod::kAreaAverage, 13, 9, streamed);
        EXPECT_TRUE(DecodeRows(file, {}, sink).ok());
        std::fclose(file);
        Image expected;
        ResizeAreaAverage(whole.value(), 13, 9, expected);
        EXPECT_EQ(streamed, expected);
    }
}

}  // namespace
}  // namespace pelimon
