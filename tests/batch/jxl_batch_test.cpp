// JPEG XL through whole batches: the files of public test suites written upright at their size or
// reported by name, their metadata kept, and a JPEG whose pixels stay as they are stored as a
// lossless recompression that gives the JPEG back bit for bit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "exif/jpeg_segments.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/imagelib.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/format_codes.h"
#include "tests/support/jxl_reconstruction.h"

namespace pelimon {
namespace {

using test::ReadBytes;

class JxlBatchTest : public ::testing::Test {
  protected:
    JxlBatchTest() : settings(test::BatchSettings(source.path())) {}

    void Add(const std::string& name, int rotation = 0) {
        list.rows().push_back({name, "1 KB", rotation, true});
        list.set_file_count(static_cast<int>(list.rows().size()));
        list.set_selected_count(static_cast<int>(list.rows().size()));
    }
    BatchOutcome Run() { return RunBatch(settings, list, ui, {true, 1}, "20240506"); }
    std::vector<uint8_t> Output(const std::string& name) const { return ReadBytes(source.path() + "out/" + name); }

    test::TempFolder source;
    AppSettings settings;
    FileList list;
    test::FakeInteraction ui;
};

TEST_F(JxlBatchTest, TestSuiteFilesAreWrittenUprightOrReportedByName) {
    const std::filesystem::path images = std::filesystem::path(PELIMON_TEST_DATA_DIR) / "images";
    const struct {
        const char* name;
        int width;  // fitting 320 x 320, upright
        int height;
    } files[] = {
        {"jxl_orientation6.jxl", 256, 100},
        {"jxl_sunset_logo_orientation7.jxl", 213, 320},
        {"jxl_hdr_pq.jxl", 320, 320},
        {"jxl_alpha_premultiplied.jxl", 320, 320},
        {"jxl_animation_ooo_jxlp.jxl", 320, 102},
        {"jxl_grey_jpeg_recompressed.jxl", 200, 200},
        {"jxl_1x1_exif_xmp.jxl", 1, 1},
    };
    for (const auto& file : files) {
        std::filesystem::copy_file(images / file.name, source / file.name);
        Add(file.name);
    }
    std::filesystem::copy_file(images / "jxl_truncated_brob_boxes.jxl", source / "jxl_truncated_brob_boxes.jxl");
    Add("jxl_truncated_brob_boxes.jxl");
    settings.Width = 320;
    settings.Height = 320;
    settings.BigSize = kBigSizeStripExif;  // smaller files keep their size
    settings.Exif = 1;
    settings.FileType = test::FileTypeOf(ImageFormat::kJpeg);
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.written, static_cast<int>(std::size(files)));
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_NE(outcome.failures[0].message.find("jxl_truncated_brob_boxes.jxl"), std::string::npos);
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::string stem = std::filesystem::path(file.name).stem().string();
        const Result<ImageHeader> header = ProbeImage(Output(stem + "_s.jpg"));
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header.value().width, file.width);
        EXPECT_EQ(header.value().height, file.height);
    }
    const std::vector<uint8_t> kept = Output("jxl_1x1_exif_xmp_s.jpg");
    const std::vector<JpegSegment> segments = WalkJpegSegments(kept);
    EXPECT_TRUE(FindExifSegment(kept, segments).has_value());
    EXPECT_FALSE(ReadXmpPacket(kept, segments).empty());
}

TEST_F(JxlBatchTest, JpegWithItsPixelsKeptIsRecompressedLosslessly) {
    const Result<Bytes> plain = EncodeJpeg(test::MakeTestImage(64, 48), {.quality = 85});
    ASSERT_TRUE(plain.ok());
    test::WriteBytes(source / "plain.jpg",
                     std::string_view(reinterpret_cast<const char*>(plain.value().data()), plain.value().size()));
    test::WriteJpegWithExif(source / "exif.jpg", test::MakeTestImage(64, 48, 1), 1, "2024:05:06 07:08:09");
    Add("plain.jpg");
    Add("exif.jpg");
    settings.FileType = test::FileTypeOf(ImageFormat::kJxl);
    settings.Width = 640;  // larger than the sources, which keep their size
    settings.Height = 480;
    settings.BigSize = kBigSizeStripExif;
    for (const int exif : {0, 1}) {
        SCOPED_TRACE(exif);
        settings.Exif = exif;
        ASSERT_EQ(Run().written, 2);
        EXPECT_EQ(test::ReconstructJpeg(Output("plain_s.jxl")), plain.value());
        const std::vector<uint8_t> restored = test::ReconstructJpeg(Output("exif_s.jxl"));
        ASSERT_FALSE(restored.empty());
        EXPECT_EQ(FindExifSegment(restored, WalkJpegSegments(restored)).has_value(), exif == 1);
        EXPECT_EQ(ReadEmbeddedMetadata(Output("exif_s.jxl")).exif.empty(), exif == 0);
        EXPECT_TRUE(DecodeImage(restored).value() == DecodeImage(ReadBytes(source / "exif.jpg")).value());
    }
    // A recompression larger than the target file size gives way to the size search.
    settings.SetSize = kOn;
    settings.DataSize = 1;
    settings.LimitQuality = 1;
    ASSERT_EQ(Run().written, 2);
    EXPECT_TRUE(test::ReconstructJpeg(Output("plain_s.jxl")).empty());
    EXPECT_LE(Output("plain_s.jxl").size(), size_t{1024});
}

TEST_F(JxlBatchTest, JpegWhosePixelsChangeIsEncodedFromThem) {
    const Result<Bytes> plain = EncodeJpeg(test::MakeTestImage(64, 48), {.quality = 85});
    test::WriteBytes(source / "plain.jpg",
                     std::string_view(reinterpret_cast<const char*>(plain.value().data()), plain.value().size()));
    settings.FileType = test::FileTypeOf(ImageFormat::kJxl);
    settings.BigSize = kBigSizeStripExif;
    const struct {
        const char* change;
        int width;
        int rotation;
        int effect;
    } cases[] = {{"reduced", 32, 0, 0}, {"turned", 640, 90, 0}, {"greyed", 640, 0, kEffectGrayscale}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        list.rows().clear();
        Add("plain.jpg", c.rotation);
        settings.Width = c.width;
        settings.Height = c.width;
        settings.Effect = c.effect;
        ASSERT_EQ(Run().written, 1);
        const std::vector<uint8_t> output = Output("plain_s.jxl");
        EXPECT_EQ(SniffFormat(output), ImageFormat::kJxl);
        EXPECT_TRUE(test::ReconstructJpeg(output).empty());
    }
}

}  // namespace
}  // namespace pelimon
