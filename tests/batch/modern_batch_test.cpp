// HEIF/HEIC, AVIF, WebP and PNG through whole batches: turned files come out upright exactly once,
// WebP and AVIF outputs keep Exif and meet the size target, "same as the source" picks their
// types, damaged files are reported and skipped (also in a batch over files of public test suites),
// and colours are converted to sRGB or carried.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
#include "tests/support/png_chunks.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::ReadBytes;
using test::TempFolder;

std::vector<uint8_t> AsBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

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
    // Orientation 6 turns, which AutoRotate applies; so do the PNGs made of its pixels and Exif,
    // one in an eXIf chunk, one in the hexadecimal text of older tools.
    Copy("made-irot6.heic");
    Copy("made-orient6.webp");
    const std::vector<uint8_t> webp = ReadBytes(source / "made-orient6.webp");
    const Bytes exif = ReadEmbeddedMetadata(webp).exif;
    const std::vector<test::PngChunkData> pixels = test::SplitPng(EncodePng(DecodeImage(webp).value()).value());
    ASSERT_FALSE(exif.empty());
    std::string raw = "\nexif\n" + std::to_string(exif.size()) + "\n";
    for (const uint8_t byte : exif) {
        raw += "0123456789abcdef"[byte >> 4];
        raw += "0123456789abcdef"[byte & 15];
    }
    const std::string keyword("Raw profile type exif\0", 22);
    const struct {
        const char* name;
        test::PngChunkData chunk;
    } pngs[] = {{"made-orient6.png", {"eXIf", exif}}, {"made-orient6-raw.png", {"tEXt", AsBytes(keyword + raw)}}};
    for (const auto& png : pngs) {
        std::vector<test::PngChunkData> chunks = pixels;
        chunks.insert(chunks.begin() + 1, png.chunk);
        const std::vector<uint8_t> bytes = test::JoinPng(chunks);
        test::WriteBytes(source / png.name,
                         std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        Add(png.name);
    }
    settings.FileType = test::FileTypeOf(ImageFormat::kJpeg);
    settings.Exif = 1;
    settings.ExifDate = 1;
    // The Exif reader (and so the Exif dialog) sees the Exif of each.
    for (const char* name : {"made-irot6.heic", "made-orient6.webp", "made-orient6.png", "made-orient6-raw.png"}) {
        EXPECT_EQ(OrientationOf(ReadBytes(source / name)), 6u) << name;
    }
    for (const int auto_rotate : {1, 0}) {
        SCOPED_TRACE(auto_rotate);
        settings.AutoRotate = auto_rotate;
        const BatchOutcome outcome = Run();
        ASSERT_EQ(outcome.written, 4) << (outcome.failures.empty() ? "" : outcome.failures[0].message);
        const Image heic = Decoded("made-irot6_s.jpg");
        EXPECT_EQ(heic.width(), 24);  // upright, never turned by its Exif as well
        EXPECT_EQ(heic.height(), 32);
        EXPECT_GT(heic.row(16)[3 * 22 + 1], 150);  // the green band turned to the right edge
        EXPECT_EQ(OrientationOf(Output("made-irot6_s.jpg")), 1u);
        for (const char* name : {"made-orient6_s.jpg", "made-orient6-raw_s.jpg"}) {
            SCOPED_TRACE(name);
            const Image turned = Decoded(name);
            EXPECT_EQ(turned.width(), auto_rotate == 1 ? 24 : 32);
            EXPECT_EQ(OrientationOf(Output(name)), auto_rotate == 1 ? 1u : 6u);
            // The shooting date of the Exif dates the output.
            EXPECT_EQ(test::ModificationTime(source.path() + "out/" + name), test::LocalTimeOf("2024:05:06 07:08:09"));
        }
        EXPECT_TRUE(Decoded("made-orient6_s.jpg") == Decoded("made-orient6-raw_s.jpg"));
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

TEST_F(ModernBatchTest, ConformanceFilesAreWrittenUprightOrReportedByName) {
    const std::filesystem::path conformance = std::filesystem::path(PELIMON_TEST_DATA_DIR) / "conformance";
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(conformance)) {
        if (entry.path().extension() != ".LICENSE") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::filesystem::copy_file(conformance / name, source / name);
        Add(name);
    }
    settings.Width = 320;
    settings.Height = 320;
    settings.FileType = test::FileTypeOf(ImageFormat::kPng);
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(outcome.written, 2);
    // The damaged PNGs: a wrong IHDR CRC, a wrong image data CRC.
    ASSERT_EQ(outcome.failures.size(), 2u);
    EXPECT_NE(outcome.failures[0].message.find("xcsn0g01.png"), std::string::npos) << outcome.failures[0].message;
    EXPECT_NE(outcome.failures[1].message.find("xhdn0g08.png"), std::string::npos) << outcome.failures[1].message;
    EXPECT_FALSE(std::filesystem::exists(source.path() + "out/xcsn0g01_s.png"));
    EXPECT_FALSE(std::filesystem::exists(source.path() + "out/xhdn0g08_s.png"));
    // The picture stored upright and the one stored turned with an irot box come out alike.
    const Image upright = Decoded("kimono_s.png");
    const Image turned = Decoded("kimono.rotate90_s.png");
    EXPECT_EQ(upright.width(), 226);
    EXPECT_EQ(upright.height(), 320);
    ASSERT_EQ(turned.width(), 226);
    ASSERT_EQ(turned.height(), 320);
    int64_t difference = 0;
    for (size_t i = 0; i < upright.size_bytes(); ++i) {
        difference += std::abs(upright.data()[i] - turned.data()[i]);
    }
    EXPECT_LT(difference / static_cast<int64_t>(upright.size_bytes()), 4);
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
