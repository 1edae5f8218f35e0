// HEIF/HEIC, AVIF and WebP through whole batches: turned files come out upright exactly once,
// WebP and AVIF outputs keep Exif and meet the size target, "same as the source" picks their
// types, damaged files are reported and skipped, and colours are converted to sRGB or carried.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "exif/exif_reader.h"
#include "exif/jpeg_segments.h"
#include "imagelib/colour.h"
#include "imagelib/embedded_metadata.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/format_codes.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::ReadBytes;
using test::TempFolder;

constexpr uint16_t kOrientation = 0x0112;

std::filesystem::path ModernDir() {
    return std::filesystem::path(PELIMON_TEST_DATA_DIR) / "modern";
}

class ModernBatchTest : public ::testing::Test {
  protected:
    ModernBatchTest() : settings(test::BatchSettings(source.path())) {
        settings.Width = 32;
        settings.Height = 32;
    }

    void Add(const std::string& name) {
        list.rows().push_back({name, "1 KB", 0, true});
        list.set_file_count(static_cast<int>(list.rows().size()));
        list.set_selected_count(static_cast<int>(list.rows().size()));
    }
    void Copy(const std::string& name) {
        std::filesystem::copy_file(ModernDir() / name, source / name);
        Add(name);
    }

    BatchOutcome Run() { return RunBatch(settings, list, ui, {true, 1}, "20240506"); }

    std::vector<uint8_t> Output(const std::string& name) const { return ReadBytes(source.path() + "out/" + name); }
    Image Decoded(const std::string& name) const {
        Result<Image> image = DecodeImage(Output(name));
        EXPECT_TRUE(image.ok()) << name;
        return image.ok() ? std::move(image).value() : Image{};
    }

    TempFolder source;
    AppSettings settings;
    FileList list;
    FakeInteraction ui;
};

std::optional<uint32_t> OrientationOf(const std::vector<uint8_t>& file) {
    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file);
    if ((reader.CheckJpeg() & 2) == 0) {
        return std::nullopt;
    }
    reader.ReadMainIFD();
    return reader.MainIFDNumber(kOrientation);
}

int LargestDifference(const Image& a, const Image& b) {
    int largest = 0;
    for (size_t i = 0; i < std::min(a.size_bytes(), b.size_bytes()); ++i) {
        largest = std::max(largest, std::abs(a.data()[i] - b.data()[i]));
    }
    return largest;
}

TEST_F(ModernBatchTest, TurnedFilesComeOutUprightOnce) {
    // made-irot6.heic: libheif turns the 64x48 picture upright (48x64) through its irot box, and
    // its Exif Orientation 6 describes that turn. made-orient6.webp: 64x48 pixels that only Exif
    // Orientation 6 turns, which AutoRotate applies.
    Copy("made-irot6.heic");
    Copy("made-orient6.webp");
    settings.FileType = test::FileTypeOf(ImageFormat::kJpeg);
    settings.Exif = 1;
    // The Exif reader (and so the Exif dialog) sees the Exif of both.
    EXPECT_EQ(OrientationOf(ReadBytes(source / "made-irot6.heic")), 6u);
    EXPECT_EQ(OrientationOf(ReadBytes(source / "made-orient6.webp")), 6u);
    for (const int auto_rotate : {1, 0}) {
        SCOPED_TRACE(auto_rotate);
        settings.AutoRotate = auto_rotate;
        const BatchOutcome outcome = Run();
        ASSERT_EQ(outcome.written, 2) << (outcome.failures.empty() ? "" : outcome.failures[0].message);
        const Image heic = Decoded("made-irot6_s.jpg");
        EXPECT_EQ(heic.width(), 24);  // upright, never turned by its Exif as well
        EXPECT_EQ(heic.height(), 32);
        EXPECT_GT(heic.row(16)[3 * 22 + 1], 150);  // the green band turned to the right edge
        EXPECT_EQ(OrientationOf(Output("made-irot6_s.jpg")), 1u);
        const Image webp = Decoded("made-orient6_s.jpg");
        EXPECT_EQ(webp.width(), auto_rotate == 1 ? 24 : 32);
        EXPECT_EQ(OrientationOf(Output("made-orient6_s.jpg")), auto_rotate == 1 ? 1u : 6u);
    }
}

TEST_F(ModernBatchTest, WebpAndAvifOutputsKeepExifAndMeetTheSizeTarget) {
    test::WriteJpegWithExif(source / "photo.jpg", test::MakeTestImage(800, 600), 1, "2024:05:06 07:08:09");
    Add("photo.jpg");
    settings.Width = 400;
    settings.Height = 300;
    settings.Exif = 1;
    settings.SetSize = 1;
    settings.DataSize = 10;
    settings.LimitQuality = 10;
    for (const ImageFormat format : {ImageFormat::kWebp, ImageFormat::kAvif}) {
        const FormatRow& row = FormatRowOf(format);
        SCOPED_TRACE(row.display_name);
        settings.FileType = row.codes.file_type;
        ASSERT_EQ(Run().written, 1);
        const std::string name = "photo_s" + std::string(row.OutputExtension());
        const std::vector<uint8_t> file = Output(name);
        EXPECT_EQ(SniffFormat(file), format);
        EXPECT_LE(file.size(), size_t{10 * 1024});
        EXPECT_GT(file.size(), size_t{8 * 1024});  // the search used the room it had
        const Image image = Decoded(name);
        EXPECT_EQ(image.width(), 400);
        EXPECT_EQ(image.height(), 300);
        EXPECT_EQ(OrientationOf(file), 1u);
    }
}

TEST_F(ModernBatchTest, SameAsTheSourceKeepsWebpAndAvifAndMakesHeicJpeg) {
    for (const char* name : {"nikon-d1x-exif.webp", "srgb-800x600.avif", "nokia-noexif-1440x960.heic"}) {
        Copy(name);
    }
    settings.FileType = kFileTypeSame;
    ASSERT_EQ(Run().written, 3);
    EXPECT_EQ(SniffFormat(Output("nikon-d1x-exif_s.webp")), ImageFormat::kWebp);
    EXPECT_EQ(SniffFormat(Output("srgb-800x600_s.avif")), ImageFormat::kAvif);
    EXPECT_EQ(SniffFormat(Output("nokia-noexif-1440x960_s.jpg")), ImageFormat::kJpeg);
}

TEST_F(ModernBatchTest, DamagedFilesAreReportedAndSkipped) {
    const char* damaged[] = {"bad-atomsize.heif", "bad-nodata.heif", "bad-nometa-1.heif", "bad-nometa-2.heif"};
    for (const char* name : damaged) {
        Copy(name);
    }
    Copy("made-alpha.heic");
    settings.FileType = test::FileTypeOf(ImageFormat::kJpeg);
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(outcome.written, 1);
    ASSERT_EQ(outcome.failures.size(), std::size(damaged));
    for (size_t i = 0; i < std::size(damaged); ++i) {
        EXPECT_NE(outcome.failures[i].message.find(damaged[i]), std::string::npos) << outcome.failures[i].message;
    }
}

TEST_F(ModernBatchTest, ColoursAreConvertedToSrgbOrCarried) {
    // A WebP with a Display P3 profile and an AVIF whose nclx colour says Display P3.
    const std::vector<uint8_t> p3 = IccProfileForNclx(NclxColour{12, 13, 6, true});
    const Result<Bytes> webp =
        EncodeWebp(test::MakeTestImage(64, 48), {.quality = 95, .metadata = EncodeMetadata{{}, p3}});
    test::WriteBytes(source / "p3.webp",
                     std::string_view(reinterpret_cast<const char*>(webp.value().data()), webp.value().size()));
    Add("p3.webp");
    Copy("made-p3-nclx.avif");
    settings.FileType = test::FileTypeOf(ImageFormat::kJpeg);
    for (const char* name : {"p3_s.jpg", "made-p3-nclx_s.jpg"}) {
        SCOPED_TRACE(name);
        settings.ToSRGB = 0;
        ASSERT_EQ(Run().written, 2);
        const std::vector<uint8_t> carried = Output(name);
        const std::vector<uint8_t> carried_icc = ReadIccProfile(carried, WalkJpegSegments(carried));
        EXPECT_FALSE(carried_icc.empty());
        EXPECT_FALSE(IsSrgbProfile(carried_icc));
        const Image wide = Decoded(name);

        settings.ToSRGB = 1;
        ASSERT_EQ(Run().written, 2);
        const std::vector<uint8_t> converted = Output(name);
        EXPECT_TRUE(ReadIccProfile(converted, WalkJpegSegments(converted)).empty());
        EXPECT_GT(LargestDifference(Decoded(name), wide), 8);
    }
}

}  // namespace
}  // namespace pelimon
