// Row-by-row decoding and resizing: the streamed result is the whole-image result to the byte, for
// every method and a table of sizes, straight and through the decoders; the DC-only decoder of
// progressive JPEG files gives libjpeg's 1/8 scale within a small tolerance.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagelib/codec_support.h"
#include "imagelib/formats.h"
#include "imagelib/imagelib.h"
#include "imagelib/pipelined_sink.h"
#include "test_images.h"

namespace pelimon {
namespace {

using imagelib_detail::MemoryFile;

constexpr ResizeMethod kMethods[] = {ResizeMethod::kAreaAverage, ResizeMethod::kSample, ResizeMethod::kTriangle};

Image Streamed(const Image& src, ResizeMethod method, int width, int height) {
    Image out;
    ResizingSink sink(method, width, height, out);
    EXPECT_TRUE(sink.Begin(src.width(), src.height()).ok());
    for (int y = 0; y < src.height(); ++y) {
        sink.Row(src.row(y));
    }
    EXPECT_TRUE(sink.done());
    return out;
}

TEST(StreamTest, StreamedResizeIsTheWholeImageResize) {
    const struct {
        int src_width, src_height, width, height;
    } sizes[] = {{97, 61, 13, 9}, {97, 61, 96, 60}, {64, 48, 64, 48}, {40, 30, 91, 67},
                 {300, 7, 11, 3}, {5, 200, 2, 17},  {33, 33, 1, 1},   {1, 1, 3, 2}};
    for (const auto& s : sizes) {
        const Image src = test::MakeGradient(s.src_width, s.src_height);
        for (const ResizeMethod method : kMethods) {
            SCOPED_TRACE(::testing::Message() << s.src_width << "x" << s.src_height << " -> " << s.width << "x"
                                              << s.height << " method " << static_cast<int>(method));
            Image whole;
            Resize(method, src, s.width, s.height, whole);
            EXPECT_TRUE(Streamed(src, method, s.width, s.height) == whole);
        }
    }
}

TEST(StreamTest, PipelinedRowsGiveTheSameBytes) {
    const Image src = test::MakeGradient(211, 157);
    for (const ResizeMethod method : kMethods) {
        SCOPED_TRACE(static_cast<int>(method));
        Image out;
        ResizingSink sink(method, 37, 23, out);
        {
            PipelinedSink pipelined(sink, 4);
            ASSERT_TRUE(pipelined.Begin(src.width(), src.height()).ok());
            for (int y = 0; y < src.height(); ++y) {
                pipelined.Row(src.row(y));
            }
            pipelined.Finish();
        }
        EXPECT_TRUE(sink.done());
        EXPECT_TRUE(out == Streamed(src, method, 37, 23));
    }
}

TEST(StreamTest, DecodedRowsResizeAsTheWholeDecode) {
    const Image gradient = test::MakeGradient(301, 203);
    std::vector<std::pair<std::string, Bytes>> files = {
        {"encoded.bmp", EncodeBmp(gradient).value()},
        {"encoded.png", EncodePng(gradient).value()},
        {"encoded.jpg", EncodeJpeg(gradient, {.quality = 90}).value()},
    };
    for (const char* name :
         {"bmp_1bit.bmp", "bmp_4bit.bmp", "bmp_8bit_topdown.bmp", "bmp_16bit_565.bmp", "bmp_24bit_os2.bmp",
          "bmp_32bit_alpha.bmp", "png_grey_1bit.png", "png_palette_trns.png", "png_rgb16.png", "png_rgba.png",
          "jpeg_baseline.jpg", "jpeg_cmyk.jpg", "jpeg_grey.jpg", "jpeg_progressive.jpg"}) {
        files.emplace_back(name, test::ReadFixture(name));
    }
    const DecodeOptions shrink{40, 30};
    for (const auto& [name, bytes] : files) {
        ASSERT_FALSE(bytes.empty()) << name;
        ASSERT_TRUE(CanDecodeRows(bytes)) << name;
        for (const DecodeOptions& options : {DecodeOptions{}, shrink}) {
            const Result<Image> whole = DecodeImage(bytes, options);
            ASSERT_TRUE(whole.ok()) << name;
            for (const ResizeMethod method : kMethods) {
                SCOPED_TRACE(::testing::Message()
                             << name << " method " << static_cast<int>(method) << " min " << options.min_width);
                Image expected;
                Resize(method, whole.value(), 23, 17, expected);
                const MemoryFile file(bytes);
                Image out;
                ResizingSink sink(method, 23, 17, out);
                ASSERT_TRUE(DecodeRows(file.get(), options, sink).ok());
                EXPECT_TRUE(sink.done());
                EXPECT_TRUE(out == expected);
            }
        }
    }
}

TEST(StreamTest, WholeSourcesOnlyAreNotStreamed) {
    for (const char* name : {"png_interlaced.png", "bmp_rle4.bmp", "bmp_rle8.bmp", "gif_interlaced.gif"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(CanDecodeRows(test::ReadFixture(name)));
    }
}

double MeanDifference(const Image& a, const Image& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size_bytes(); ++i) {
        sum += std::abs(a.data()[i] - b.data()[i]);
    }
    return sum / static_cast<double>(a.size_bytes());
}

TEST(StreamTest, DcOnlyDecodeIsLibjpegsEighthScale) {
    // libjpeg's 1/8 scale is each block's DC level, except for 2 x 2 subsampled chroma, where it
    // also uses the lowest AC terms; the DC-only decoder interpolates those from the neighbours.
    const struct {
        const char* name;
        int worst;
        double mean;
    } cases[] = {{"jpeg_progressive_420_restart.jpg", 16, 3.0},
                 {"jpeg_progressive_422.jpg", 0, 0},
                 {"jpeg_progressive_444.jpg", 0, 0},
                 {"jpeg_progressive_grey.jpg", 0, 0},
                 {"jpeg_progressive.jpg", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = test::ReadFixture(c.name);
        ASSERT_FALSE(bytes.empty());
        // A minimum of 1 x 1 lets libjpeg choose its smallest scale, 1/8.
        const Result<Image> libjpeg = DecodeImage(bytes, DecodeOptions{1, 1});
        ASSERT_TRUE(libjpeg.ok());
        const MemoryFile file(bytes);
        Image dc;
        imagelib_detail::ImageSink sink(dc);
        const Status decoded = imagelib_detail::DecodeJpegDc(file.get(), sink);
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        ASSERT_EQ(dc.width(), libjpeg.value().width());
        ASSERT_EQ(dc.height(), libjpeg.value().height());
        EXPECT_LE(test::MaxDifference(dc, libjpeg.value()), c.worst);
        EXPECT_LE(MeanDifference(dc, libjpeg.value()), c.mean);
    }
}

TEST(StreamTest, DcOnlyDecodeRefusesDamageAndLies) {
    Bytes bytes = test::ReadFixture("jpeg_progressive_420_restart.jpg");
    ASSERT_FALSE(bytes.empty());
    const auto decode = [](const Bytes& input) {
        const MemoryFile file(input);
        Image out;
        imagelib_detail::ImageSink sink(out);
        return imagelib_detail::DecodeJpegDc(file.get(), sink);
    };
    Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 3));
    EXPECT_FALSE(decode(cut).ok());
    // The frame header claims 65500 x 65500: far more blocks than the file could hold.
    for (size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC2) {
            bytes[i + 5] = bytes[i + 7] = 0xFF;
            bytes[i + 6] = bytes[i + 8] = 0xDC;
            break;
        }
    }
    const Status lie = decode(bytes);
    ASSERT_FALSE(lie.ok());
    EXPECT_NE(lie.error().message.find("65500 x 65500"), std::string::npos) << lie.error().message;
}

}  // namespace
}  // namespace pelimon
