// The output preview renders the bytes a run then writes, whichever settings changed since the
// last render (its kept reduced source must never leak into a render it does not fit, nor a
// render given up on spoil it), and the estimate of a run's total size is the sum of the outputs
// when every file is sampled.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/output_preview.h"
#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "imagelib/format_table.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/format_codes.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::FileTypeOf;
using test::ReadBytes;
using test::TempFolder;

struct PreviewCase {
    const char* what;
    ImageFormat format;
    int quality = 90;
    int target_kb = 0;  // 0: no target size
    int32_t effect = 0;
    int rotation = 0;
    int32_t exif = kOff;
    int width = 320;
};

class OutputPreviewTest : public ::testing::Test {
  protected:
    OutputPreviewTest() : settings(test::BatchSettings(source.path())) {
        test::WriteJpegWithExif(source / "photo.jpg", test::MakeTestImage(640, 480, 3), 6, "2024:05:06 07:08:09");
        list.rows().push_back({"photo.jpg", "1 KB", 0, true});
        list.set_file_count(1);
        list.set_selected_count(1);
    }

    void Apply(const PreviewCase& c) {
        settings.FileType = FileTypeOf(c.format);
        settings.JpegComp = c.quality;
        settings.SetSize = c.target_kb > 0 ? kOn : kOff;
        settings.DataSize = c.target_kb;
        settings.Effect = c.effect;
        settings.Exif = c.exif;
        settings.Width = c.width;
        settings.Height = c.width;
        list.rows()[0].rotation = c.rotation;
    }

    std::vector<uint8_t> Written() {
        std::filesystem::remove_all(source.path() + "out");
        const BatchOutcome outcome = RunBatch(settings, list, ui, {true, 1}, "20240506");
        EXPECT_EQ(outcome.written, 1);
        return outcome.planned.empty() ? std::vector<uint8_t>{} : ReadBytes(outcome.planned[0].dest_path);
    }

    TempFolder source;
    AppSettings settings;
    FileList list;
    FakeInteraction ui;
};

TEST_F(OutputPreviewTest, RendersTheBytesTheRunWritesAsSettingsChange) {
    std::vector<PreviewCase> cases;
    for (const FormatRow* format : FormatsInCodeOrder(&FormatCodes::file_type)) {
        if (format->Written()) {
            cases.push_back({format->display_name.data(), format->format});
        }
    }
    const std::vector<PreviewCase> changes = {
        {"JPEG at quality 40", ImageFormat::kJpeg, 40},
        {"JPEG to 12 KB", ImageFormat::kJpeg, 90, 12},
        {"JPEG to 12 KB keeping Exif", ImageFormat::kJpeg, 90, 12, 0, 0, kOn},
        {"WebP to 9 KB", ImageFormat::kWebp, 90, 9},
        {"sharpened grey JPEG", ImageFormat::kJpeg, 90, 0, kEffectSharpen | kEffectGrayscale},
        {"JPEG turned 90", ImageFormat::kJpeg, 90, 0, 0, 90},
        {"JPEG turned 90, larger", ImageFormat::kJpeg, 90, 0, 0, 90, kOff, 400},
        {"JPEG again", ImageFormat::kJpeg, 90},
    };
    cases.insert(cases.end(), changes.begin(), changes.end());

    OutputPreviewRenderer renderer;  // one renderer throughout: its kept source is reused or replaced
    // a render given up on (a newer one is wanted) fails and leaves the kept source sound
    settings.SetSize = kOn;
    EXPECT_FALSE(renderer.Render(settings, list.rows()[0], [] { return true; }).ok());
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.what);
        Apply(c);
        Result<PreviewedOutput> preview = renderer.Render(settings, list.rows()[0]);
        ASSERT_TRUE(preview.ok()) << preview.error().message;
        const std::vector<uint8_t> written = Written();
        EXPECT_EQ(preview.value().bytes.size(), written.size());
        EXPECT_TRUE(preview.value().bytes == written);
        const FormatRow& row = FormatRowOf(c.format);
        EXPECT_EQ(preview.value().quality > 0, row.takes_quality);
        if (c.target_kb > 0) {
            EXPECT_LE(written.size(), size_t(c.target_kb) * 1024);
            EXPECT_LT(preview.value().quality, 90);
        }
        // photo.jpg is 640 x 480 turned upright to 480 x 640, then the list's turn
        const bool sideways = c.rotation == 90;
        EXPECT_EQ(preview.value().width, c.width * (sideways ? 4 : 3) / 4);
        EXPECT_EQ(preview.value().height, c.width * (sideways ? 3 : 4) / 4);
    }
}

TEST_F(OutputPreviewTest, EstimatesTheSumOfTheOutputsFromItsSample) {
    test::WriteImageFile(source / "b.png", test::MakeTestImage(300, 200, 5));
    list.rows().push_back({"b.png", "1 KB", 0, true});
    list.rows().push_back({"gone.jpg", "1 KB", 0, true});
    list.rows().push_back({"unchecked.jpg", "1 KB", 0, false});
    settings.FileType = FileTypeOf(ImageFormat::kJpeg);

    EXPECT_EQ(SampleCheckedRows(list, 8), (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(SampleCheckedRows(list, 2), (std::vector<size_t>{0, 2}));
    EXPECT_TRUE(SampleCheckedRows(list, 0).empty());

    const std::vector<FileRow> sample(list.rows().begin(), list.rows().begin() + 2);
    const std::optional<OutputSizeEstimate> estimate = EstimateOutputSize(settings, sample, 2, [] { return false; });
    ASSERT_TRUE(estimate.has_value());
    const BatchOutcome outcome = RunBatch(settings, list, ui, {true, 1}, "20240506");
    int64_t total = 0;
    for (const PlannedOutput& planned : outcome.planned) {
        total += planned.written ? static_cast<int64_t>(std::filesystem::file_size(planned.dest_path)) : 0;
    }
    EXPECT_EQ(estimate->bytes, total);
    EXPECT_TRUE(estimate->exact());

    // a missing file is left out of the sample; a cancel gives no estimate
    const std::vector<FileRow> gone(list.rows().begin() + 2, list.rows().begin() + 3);
    EXPECT_FALSE(EstimateOutputSize(settings, gone, 1, [] { return false; }).has_value());
    EXPECT_FALSE(EstimateOutputSize(settings, sample, 2, [] { return true; }).has_value());
}

}  // namespace
}  // namespace pelimon
