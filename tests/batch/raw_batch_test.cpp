// Camera raw sources through whole batches: written as JPEG for "same as the source", upright once
// (from the preview or developed), with the raw file's Exif carried, its shooting date dating the
// output and its location removed on request; stripped raw files are reported by name and skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/run_batch.h"
#include "batch_test_support.h"
#include "exif/tiff_block.h"
#include "imagelib/imagelib.h"
#include "settings/setting_values.h"
#include "support/dng_writer.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/metadata_blocks.h"

namespace pelimon {
namespace {

constexpr uint16_t kOrientation = 0x0112;

// A picture whose left half is red and right half blue.
Image Halves(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = image.row(y) + 3 * x;
            pixel[0] = x < width / 2 ? 220 : 30;
            pixel[1] = 30;
            pixel[2] = x < width / 2 ? 30 : 220;
        }
    }
    return image;
}

TEST(RawBatch, RawFilesBecomeUprightJpegsWithTheirExif) {
    test::TempFolder source;
    AppSettings settings = test::BatchSettings(source.path());
    settings.Width = 32;
    settings.Height = 32;
    settings.FileType = kFileTypeSame;
    settings.Exif = kOn;
    settings.ExifDate = kOn;
    FileList list;
    const auto add = [&](const std::string& name, const Bytes& bytes) {
        test::WriteBytes(source / name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        list.rows().push_back({name, "1 KB", 0, true});
    };
    test::DngContents turned;
    turned.orientation = 6;
    turned.preview_jpeg = EncodeJpeg(Halves(128, 96), {}).value();
    add("preview.dng", test::MakeDng(Halves(64, 48), turned));
    add("developed.dng", test::MakeDng(Halves(64, 48)));
    add("et_Nikon.nef", test::ReadBytes(std::filesystem::path(PELIMON_TEST_DATA_DIR) / "raw/et_Nikon.nef"));
    list.set_file_count(3);
    list.set_selected_count(3);

    for (const int no_location : {kOff, kOn}) {
        SCOPED_TRACE(no_location);
        settings.NoLocation = no_location;
        test::FakeInteraction ui;
        const BatchOutcome outcome = RunBatch(settings, list, ui, {true, 1}, "20240506");
        EXPECT_EQ(outcome.written, 2);
        ASSERT_EQ(outcome.failures.size(), 1u);
        EXPECT_NE(outcome.failures[0].message.find("et_Nikon.nef"), std::string::npos);
        struct Expected {
            const char* name;
            int width, height;
        };
        for (const Expected& expected : {Expected{"preview_s.jpg", 24, 32}, Expected{"developed_s.jpg", 32, 24}}) {
            SCOPED_TRACE(expected.name);
            const std::string path = source.path() + "out/" + expected.name;
            const Result<Image> image = DecodeImage(test::ReadBytes(path));
            ASSERT_TRUE(image.ok());
            ASSERT_EQ(image.value().width(), expected.width);
            ASSERT_EQ(image.value().height(), expected.height);
            // Red on the left of the stored picture: at the top once turned a quarter clockwise.
            const bool turned_file = expected.width < expected.height;
            const uint8_t* red = turned_file ? image.value().row(2) + 3 * 12 : image.value().row(12) + 3 * 2;
            EXPECT_GT(red[0], 150);
            EXPECT_LT(red[2], 100);
            const TiffBlock exif(test::ReadFileBlocks(test::ReadBytes(path)).exif);
            ASSERT_TRUE(exif.valid());
            EXPECT_EQ(exif.GpsIfdOffset() != 0, no_location == kOff);
            EXPECT_EQ(test::ModificationTime(path), test::LocalTimeOf("2024:05:06 07:08:09"));
            const std::optional<std::vector<TiffBlock::Entry>> ifd0 = exif.ReadIfd(exif.Ifd0Offset());
            ASSERT_TRUE(ifd0.has_value());
            for (const TiffBlock::Entry& entry : *ifd0) {
                if (entry.tag == kOrientation) {
                    EXPECT_EQ(exif.bytes()[entry.position + 8], 1);  // the pixels are upright
                }
            }
        }
    }
}

}  // namespace
}  // namespace pelimon
