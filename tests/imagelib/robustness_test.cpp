// Truncated, corrupt and oversized inputs are refused with a message, never crash, never hang.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/imagelib.h"
#include "test_images.h"
#include "tests/support/png_chunks.h"

namespace pelimon {
namespace {

const char* const kFixtures[] = {
    "bmp_1bit.bmp",       "bmp_4bit.bmp",         "bmp_8bit.bmp",         "bmp_rle4.bmp",        "bmp_rle8.bmp",
    "bmp_16bit_565.bmp",  "bmp_24bit.bmp",        "bmp_24bit_os2.bmp",    "bmp_32bit_alpha.bmp", "png_rgb.png",
    "png_rgba.png",       "png_palette_trns.png", "png_interlaced.png",   "png_rgb16.png",       "gif_transparent.gif",
    "gif_interlaced.gif", "jpeg_baseline.jpg",    "jpeg_progressive.jpg", "jpeg_grey.jpg",       "jpeg_cmyk.jpg",
};

// Every prefix of every fixture: decoding either fails with a message or yields the full size.
TEST(RobustnessTest, TruncatedFilesNeverCrash) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Bytes full = test::ReadFixture(name);
        Result<ImageHeader> header = ProbeImage(full);
        ASSERT_TRUE(header.ok());
        for (size_t length = 0; length < full.size(); ++length) {
            const ByteView prefix(full.data(), length);
            Image out(3, 3);
            Status status = DecodeImage(prefix, {}, out);
            if (status.ok()) {
                EXPECT_EQ(out.width(), header.value().width) << "length " << length;
                EXPECT_EQ(out.height(), header.value().height) << "length " << length;
            } else {
                EXPECT_FALSE(status.error().message.empty());
                EXPECT_TRUE(out.empty()) << "length " << length;
            }
            (void)ProbeImage(prefix);
        }
    }
}

// Sizeable truncations of the pixel data are refused rather than passed off as complete images.
TEST(RobustnessTest, TruncatedPixelDataIsRefused) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Bytes full = test::ReadFixture(name);
        const ByteView half(full.data(), full.size() * 2 / 3);
        Result<Image> image = DecodeImage(half);
        EXPECT_FALSE(image.ok());
    }
}

// Flipping bytes anywhere must never crash or read out of bounds (run under the sanitizers in CI).
TEST(RobustnessTest, CorruptBytesNeverCrash) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Bytes full = test::ReadFixture(name);
        for (size_t at = 0; at < full.size(); ++at) {
            for (const uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}}) {
                Bytes damaged = full;
                damaged[at] = value;
                Image out;
                Status status = DecodeImage(damaged, {}, out);
                if (status.ok()) {
                    EXPECT_FALSE(out.empty());
                    EXPECT_LE(int64_t{out.width()} * out.height(), kMaxDecodedPixels);
                }
                (void)ProbeImage(damaged);
            }
        }
    }
}

TEST(RobustnessTest, UnknownContentIsUnsupported) {
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    Result<Image> image = DecodeImage(text);
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().message, "対応していない画像形式です。");
    EXPECT_FALSE(ProbeImage({}).ok());
    EXPECT_EQ(SniffFormat({}), ImageFormat::kUnknown);
}

void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutBe(Bytes& bytes, size_t at, uint32_t value, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
    }
}

size_t FindSof(const Bytes& jpeg) {
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            return i;
        }
    }
    return 0;
}

// Headers that claim impossible or enormous sizes are refused before anything is allocated, and the
// message gives the dimensions.
TEST(RobustnessTest, OversizedHeadersAreRefusedWithTheirDimensions) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::string message;
    };
    std::vector<Case> cases;

    Bytes bmp_wide = test::ReadFixture("bmp_24bit.bmp");
    PutLe32(bmp_wide, 18, 70000);
    cases.push_back({"bmp wider than 65535", bmp_wide, "画像が大きすぎます（70000 x 5）。"});
    Bytes bmp_zero = test::ReadFixture("bmp_24bit.bmp");
    PutLe32(bmp_zero, 18, 0);
    cases.push_back({"bmp zero width", bmp_zero, "画像の大きさが不正です（0 x 5）。"});
    Bytes bmp_negative = test::ReadFixture("bmp_24bit.bmp");
    PutLe32(bmp_negative, 18, static_cast<uint32_t>(-7));
    cases.push_back({"bmp negative width", bmp_negative, "画像の大きさが不正です（-7 x 5）。"});
    Bytes bmp_area = test::ReadFixture("bmp_24bit.bmp");
    PutLe32(bmp_area, 18, 60000);
    PutLe32(bmp_area, 22, 60000);
    cases.push_back({"bmp over the pixel limit", bmp_area, "画像が大きすぎます（60000 x 60000）。"});
    Bytes bmp_pixels = test::ReadFixture("bmp_24bit.bmp");
    PutLe32(bmp_pixels, 18, 6000);
    PutLe32(bmp_pixels, 22, 4000);
    cases.push_back({"bmp pixels missing", bmp_pixels, "画像データが壊れています（ファイルが途中で切れています）。"});

    std::vector<test::PngChunkData> chunks = test::SplitPng(test::ReadFixture("png_rgb.png"));
    PutBe(chunks.at(0).data, 0, 20000, 4);
    PutBe(chunks.at(0).data, 4, 20000, 4);
    const Bytes png = test::JoinPng(chunks);
    cases.push_back({"png over the pixel limit", png, "画像が大きすぎます（20000 x 20000）。"});

    Bytes gif = test::ReadFixture("gif_transparent.gif");
    ASSERT_GT(gif.size(), 10u);
    gif[6] = 0;
    gif[7] = 0;
    gif[8] = 0;
    gif[9] = 0;
    Result<ImageHeader> gif_header = ProbeImage(gif);  // screen 0 x 0: the frame's size counts
    ASSERT_TRUE(gif_header.ok());
    EXPECT_EQ(gif_header.value().width, 7);

    Result<Bytes> jpeg = EncodeJpeg(test::MakeGradient(16, 16), {.quality = 90});
    ASSERT_TRUE(jpeg.ok());
    const size_t sof = FindSof(jpeg.value());
    ASSERT_GT(sof, 0u);
    Bytes jpeg_huge = jpeg.value();
    PutBe(jpeg_huge, sof + 5, 60000, 2);
    PutBe(jpeg_huge, sof + 7, 60000, 2);
    cases.push_back({"jpeg over the pixel limit", jpeg_huge, "画像が大きすぎます（60000 x 60000）。"});
    Bytes jpeg_zero = jpeg.value();
    PutBe(jpeg_zero, sof + 7, 0, 2);
    cases.push_back({"jpeg zero width", jpeg_zero, "画像の大きさが不正です（0 x 16）。"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result<Image> image = DecodeImage(c.bytes);
        ASSERT_FALSE(image.ok());
        EXPECT_EQ(image.error().message, c.message);
    }
}

// A JPEG whose compressed data is damaged is reported as damaged, not as cut short, even though
// libjpeg then skips to the end of the file looking for a marker; a file that ends early is cut short.
TEST(RobustnessTest, DamagedJpegIsNotCalledCutShort) {
    Result<Bytes> jpeg = EncodeJpeg(test::MakeGradient(64, 64), {.quality = 90});
    ASSERT_TRUE(jpeg.ok());
    const Bytes& whole = jpeg.value();
    Bytes damaged = whole;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 16; ++i) {
        damaged[i] = 0xFF;  // runs of 0xFF are fill bytes, then a bogus marker follows
    }
    damaged[damaged.size() / 2 + 16] = 0xD3;
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));

    const Result<Image> from_damaged = DecodeImage(damaged);
    ASSERT_FALSE(from_damaged.ok());
    EXPECT_EQ(from_damaged.error().message, "画像データが壊れています（JPEG の圧縮データに誤りがあります）。");
    const Result<Image> from_cut = DecodeImage(cut);
    ASSERT_FALSE(from_cut.ok());
    EXPECT_EQ(from_cut.error().message, "画像データが壊れています（ファイルが途中で切れています）。");
}

// Damage the checksums show: a wrong IHDR CRC is a damaged header; a wrong image data CRC or
// Adler-32 (also one that comes in an IDAT chunk of its own after the last row) is damaged data.
TEST(RobustnessTest, PngWithWrongChecksumIsRefused) {
    const std::vector<test::PngChunkData> rgb = test::SplitPng(test::ReadFixture("png_rgb.png"));
    ASSERT_EQ(rgb.size(), 3u);  // IHDR, IDAT, IEND
    const Bytes& data = rgb[1].data;
    const Bytes stream(data.begin(), data.end() - 4);
    const Bytes adler(data.end() - 4, data.end());
    Bytes wrong_adler = adler;
    wrong_adler[3] ^= 0x55;
    auto with_idats = [&rgb](std::vector<Bytes> idats) {
        std::vector<test::PngChunkData> chunks{rgb[0]};
        for (Bytes& idat : idats) {
            chunks.push_back({"IDAT", std::move(idat)});
        }
        chunks.push_back(rgb[2]);
        return test::JoinPng(chunks);
    };
    Bytes joined_wrong = stream;
    joined_wrong.insert(joined_wrong.end(), wrong_adler.begin(), wrong_adler.end());
    struct Case {
        const char* name;
        Bytes bytes;
        bool header_damaged;
    };
    const Case cases[] = {
        {"IHDR CRC (PngSuite xhdn0g08)", test::ReadFixture("../conformance/xhdn0g08.png"), true},
        {"IDAT CRC (PngSuite xcsn0g01)", test::ReadFixture("../conformance/xcsn0g01.png"), false},
        {"Adler-32", with_idats({joined_wrong}), false},
        {"Adler-32 in a chunk of its own", with_idats({stream, wrong_adler}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        EXPECT_EQ(ProbeImage(c.bytes).ok(), !c.header_damaged);
        const Result<Image> whole = DecodeImage(c.bytes);
        ASSERT_FALSE(whole.ok());
        EXPECT_NE(whole.error().message.find(c.header_damaged ? "IHDR" : "IDAT"), std::string::npos)
            << whole.error().message;
        const imagelib_detail::MemoryFile file(c.bytes);
        Image streamed;
        imagelib_detail::ImageSink sink(streamed);
        EXPECT_FALSE(DecodeRows(file.get(), {}, sink).ok());
    }
    EXPECT_TRUE(DecodeImage(with_idats({stream, adler})).ok());  // the same split, undamaged
}

// Shrink-on-load can bring a JPEG that is too large at full size under the limit.
TEST(RobustnessTest, PixelLimitAppliesAfterShrinkOnLoad) {
    Result<Bytes> jpeg = EncodeJpeg(test::MakeGradient(16, 16), {.quality = 90});
    ASSERT_TRUE(jpeg.ok());
    Bytes huge = jpeg.value();
    const size_t sof = FindSof(huge);
    PutBe(huge, sof + 5, 20000, 2);
    PutBe(huge, sof + 7, 20000, 2);
    Result<Image> image = DecodeImage(huge, DecodeOptions{100, 100});
    ASSERT_FALSE(image.ok());  // the scan data is far too short for that size
    EXPECT_EQ(image.error().message.find("画像が大きすぎます"), std::string::npos) << image.error().message;
}

}  // namespace
}  // namespace pelimon
