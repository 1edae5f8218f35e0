#include "batch/run_batch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "batch_test_support.h"
#include "imagelib/imagelib.h"
#include "tests/support/fake_interaction.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::ListFolder;
using test::MakeTestImage;
using test::ReadBytes;
using test::TempFolder;
using test::WriteImageFile;

constexpr const char* kToday = "20070502";

class RunBatchTest : public ::testing::Test {
  protected:
    RunBatchTest() {
        settings.Width = 64;
        settings.Height = 48;
    }

    // Adds a checked row; the file itself is made by the test.
    void AddRow(const std::string& name, int rotation = 0, bool checked = true) {
        list.rows().push_back({name, "1 KB", rotation, checked});
        list.set_file_count(static_cast<int>(list.rows().size()));
        list.set_selected_count(list.selected_count() + (checked ? 1 : 0));
    }

    // Runs the batch and, as every caller does, stores what it hands on.
    BatchOutcome Run(int workers = 2) {
        const BatchOutcome outcome = RunBatch(settings, list, ui, {false, workers}, kToday);
        StoreCarriedSettings(outcome.carried, settings);
        return outcome;
    }

    std::string Out(const std::string& name = "") const { return source.path() + "out/" + name; }

    ImageHeader HeaderOf(const std::string& path) const {
        const Result<ImageHeader> header = ProbeImageFile(path);
        EXPECT_TRUE(header.ok()) << path;
        return header.ok() ? header.value() : ImageHeader{};
    }

    Image Decoded(const std::string& path) const {
        Result<Image> image = LoadImageFile(path);
        EXPECT_TRUE(image.ok()) << path;
        return image.ok() ? std::move(image).value() : Image{};
    }

    TempFolder source;
    AppSettings settings = test::BatchSettings(source.path());
    FileList list;
    FakeInteraction ui;
};

// A FileType that names no output format (a hand-edited settings or parameter file) used to be
// written as GIF files without an extension; now the run stops with a message before any job.
TEST_F(RunBatchTest, UnknownFileTypeStopsTheRunInsteadOfWritingExtensionlessGifs) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    for (const int32_t file_type : {0, 3, 32, 4096}) {
        SCOPED_TRACE(file_type);
        settings.FileType = file_type;
        ui.errors.clear();
        const BatchOutcome outcome = Run();
        EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kStopped);
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_NE(ui.errors[0].text.find("FileType=" + std::to_string(file_type)), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(Out()));
    }
}

// "Same as the source" for a file whose name shows no format (named on the command line) used to
// write a GIF without an extension; now that job fails with a message and the others are written.
TEST_F(RunBatchTest, SourceNamedWithoutAFormatFailsInsteadOfBecomingAnExtensionlessGif) {
    WriteImageFile(source / "photo.jpg", MakeTestImage(160, 120));
    std::filesystem::copy_file(source / "photo.jpg", source / "photo");
    AddRow("photo");
    AddRow("photo.jpg");
    settings.FileType = kFileTypeSame;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{"photo_s.jpg"}));
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, source / "photo");
    EXPECT_NE(outcome.failures[0].message.find("photo"), std::string::npos);
}

TEST_F(RunBatchTest, UnreadableFileInTheMiddleIsReportedAndTheRestWritten) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    test::WriteBytes(source / "b.jpg", "not an image at all");
    WriteImageFile(source / "c.png", MakeTestImage(160, 120, 1));
    AddRow("a.jpg");
    AddRow("b.jpg");
    AddRow("c.png");
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{"a_s.jpg", "c_s.png"}));
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, source / "b.jpg");
    EXPECT_NE(outcome.failures[0].message.find("b.jpg"), std::string::npos);
    EXPECT_EQ(ui.summaries, 1);
    EXPECT_EQ(ui.failures.size(), 1u);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(HeaderOf(Out("a_s.jpg")).width, 64);
}

TEST_F(RunBatchTest, NeverOverwritesItsOwnSources) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    const std::vector<uint8_t> original = ReadBytes(source / "a.jpg");
    AddRow("a.jpg");
    settings.OutputPath = "";
    settings.AddText = "";
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(ReadBytes(source / "a.jpg"), original);
    EXPECT_EQ(ListFolder(source.path()), (std::vector<std::string>{"a (2).jpg", "a.jpg"}));
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_NE(ui.notes[0].find("a (2).jpg"), std::string::npos);
}

TEST_F(RunBatchTest, DuplicateOutputNamesGetNumbersAndOtherFilesAreReplaced) {
    WriteImageFile(source / "a.png", MakeTestImage(160, 120));
    WriteImageFile(source / "a.bmp", MakeTestImage(160, 120, 2));
    std::filesystem::create_directory(Out());
    test::WriteBytes(Out("a_s.jpg"), "an old output");
    AddRow("a.bmp");
    AddRow("a.png");
    settings.FileType = 4;  // JPEG
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{"a_s (2).jpg", "a_s.jpg"}));
    EXPECT_EQ(HeaderOf(Out("a_s.jpg")).format, ImageFormat::kJpeg);
    EXPECT_EQ(outcome.renamed.size(), 1u);
    EXPECT_NE(outcome.renamed[0].find("a.png"), std::string::npos);
}

TEST_F(RunBatchTest, VanishedFileTakesNoJobAndNoNumber) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    WriteImageFile(source / "c.jpg", MakeTestImage(160, 120, 1));
    AddRow("a.jpg");
    AddRow("gone.jpg");
    AddRow("c.jpg");
    settings.NameRule = 2;
    settings.ImageNum = 5;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(ui.summaries, 0);
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{"resize0006.jpg", "resize0007.jpg"}));
    EXPECT_EQ(settings.ImageNum, 7);
}

TEST_F(RunBatchTest, BigSizeRules) {
    struct Case {
        const char* name;
        int big_size;
        bool written;
        int width, height;
    };
    const Case cases[] = {
        {"BigSize 1 enlarges", 1, true, 64, 48},
        {"BigSize 2 writes nothing", 2, false, 0, 0},
        {"BigSize 4 keeps the source size", 4, true, 40, 30},
    };
    WriteImageFile(source / "small.png", MakeTestImage(40, 30));
    AddRow("small.png");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Out());
        settings.BigSize = c.big_size;
        const BatchOutcome outcome = Run();
        EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
        EXPECT_EQ(outcome.written, c.written ? 1 : 0);
        EXPECT_EQ(outcome.skipped, c.written ? 0 : 1);
        EXPECT_TRUE(outcome.failures.empty());
        EXPECT_EQ(std::filesystem::exists(Out("small_s.png")), c.written);
        if (c.written) {
            EXPECT_EQ(HeaderOf(Out("small_s.png")).width, c.width);
            EXPECT_EQ(HeaderOf(Out("small_s.png")).height, c.height);
        }
    }
}

TEST_F(RunBatchTest, ZeroTargetIsAFailureNotABrokenFile) {
    WriteImageFile(source / "a.png", MakeTestImage(160, 120));
    AddRow("a.png");
    settings.Base = 3;  // defines no size
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.written, 0);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_NE(outcome.failures[0].message.find("0 x 0"), std::string::npos);
    EXPECT_TRUE(ListFolder(Out()).empty());
}

TEST_F(RunBatchTest, EffectsAreApplied) {
    WriteImageFile(source / "a.png", MakeTestImage(160, 120));
    AddRow("a.png");
    const auto render = [&](int effect) {
        std::filesystem::remove_all(Out());
        settings.Effect = effect;
        EXPECT_EQ(Run().written, 1);
        return Decoded(Out("a_s.png"));
    };
    const Image plain = render(0);
    const Image sharp = render(1);
    const Image gray = render(2);
    const Image sepia = render(4);
    const Image sepia_too = render(6);
    EXPECT_NE(plain, sharp);
    EXPECT_EQ(sepia, sepia_too);
    int sepia_warm = 0;
    for (int y = 0; y < gray.height(); ++y) {
        for (int x = 0; x < gray.width(); ++x) {
            const uint8_t* g = gray.row(y) + 3 * x;
            ASSERT_EQ(g[0], g[1]);
            ASSERT_EQ(g[1], g[2]);
            const uint8_t* s = sepia.row(y) + 3 * x;
            sepia_warm += (s[0] >= s[1] && s[1] >= s[2]) ? 1 : 0;
        }
    }
    EXPECT_EQ(sepia_warm, sepia.width() * sepia.height());
}

TEST_F(RunBatchTest, OutputsAreByteIdenticalWhateverTheNumberOfWorkers) {
    for (int i = 0; i < 7; ++i) {
        const std::string name = std::to_string(i) + (i % 3 == 0 ? "p.png" : "p.jpg");
        WriteImageFile(source / name, MakeTestImage(200 + 10 * i, 150, i));
        AddRow(name, (i % 4) * 90);
    }
    settings.NameRule = 2;
    settings.SaveNum = 0;
    settings.FileType = 4;
    settings.SetSize = 1;
    settings.DataSize = 3;
    settings.Effect = 1;
    const auto run_with = [&](int workers, const std::string& folder) {
        settings.OutputPath = folder;
        EXPECT_EQ(Run(workers).written, 7);
        std::map<std::string, std::vector<uint8_t>> files;
        for (const std::string& name : ListFolder(source.path() + folder)) {
            files[name] = ReadBytes(source.path() + folder + "/" + name);
        }
        return files;
    };
    const auto one = run_with(1, "one");
    const auto three = run_with(3, "three");
    EXPECT_EQ(one.size(), 7u);
    EXPECT_TRUE(one == three);
    for (const auto& [name, bytes] : one) {
        SCOPED_TRACE(name);
        EXPECT_LE(bytes.size(), 3u * 1024u);
    }
}

// Sets of outputs share each source's decode. The largest set's is the decode it would get alone,
// so its bytes are those of its own run; a smaller set of a source without shrink-on-load (PNG)
// too, and of a JPEG its pixel size.
TEST_F(RunBatchTest, SeveralSetsWriteWhatEachSetsOwnRunWould) {
    for (int i = 0; i < 4; ++i) {
        const std::string name = std::to_string(i) + (i % 2 == 0 ? "p.png" : "p.jpg");
        WriteImageFile(source / name, MakeTestImage(400, 300, i));
        AddRow(name, (i % 3) * 90);
    }
    AppSettings small = settings;
    small.FileType = 4;
    AppSettings large = settings;
    large.Width = 160;
    large.Height = 120;
    large.Effect = kEffectSepia;
    const std::vector<OutputSet> sets = {{small, "small"}, {large, "large"}};
    const BatchOutcome both = RunBatch(sets, list, ui, {true, 3}, kToday);
    EXPECT_EQ(both.written, 8);
    EXPECT_EQ(ui.progress.back(), std::make_pair(8, 8));
    for (const OutputSet& set : sets) {
        settings = set.settings;
        settings.OutputPath = "alone-" + set.subfolder;
        ASSERT_EQ(Run(1).written, 4);
        const std::vector<std::string> names = ListFolder(Out(set.subfolder));
        ASSERT_EQ(names, ListFolder(source.path() + settings.OutputPath));
        for (const std::string& name : names) {
            SCOPED_TRACE(set.subfolder + "/" + name);
            const std::string alone = source.path() + settings.OutputPath + "/" + name;
            const bool png_source = (name[0] - '0') % 2 == 0;
            if (set.subfolder == "large" || png_source) {
                EXPECT_EQ(ReadBytes(Out(set.subfolder + "/" + name)), ReadBytes(alone));
            }
            EXPECT_EQ(HeaderOf(Out(set.subfolder + "/" + name)).width, HeaderOf(alone).width);
        }
    }
}

TEST_F(RunBatchTest, CancelDuringRenderingLeavesOnlyWholeFiles) {
    for (int i = 0; i < 5; ++i) {
        const std::string name = std::to_string(i) + "p.jpg";
        WriteImageFile(source / name, MakeTestImage(160, 120, i));
        AddRow(name);
    }
    ui.cancel_after_progress = 5 + 2;  // five preparation steps, then two rendered images
    const BatchOutcome outcome = Run(1);
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCancelled);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{"0p_s.jpg", "1p_s.jpg"}));
    for (const std::string& name : ListFolder(Out())) {
        EXPECT_EQ(HeaderOf(Out(name)).width, 64);
    }
    EXPECT_TRUE(ui.offered_folders.empty());
}

TEST_F(RunBatchTest, CancelDuringPreparationWritesNothingAndKeepsTheNumber) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    AddRow("b.jpg");
    settings.ImageNum = 3;
    ui.cancel_after_progress = 1;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCancelled);
    EXPECT_TRUE(ListFolder(Out()).empty());
    EXPECT_EQ(settings.ImageNum, 3);
}

// Two checked files count two, not once for their preparation and again for their rendering
// (nor does the unchecked row count).
TEST_F(RunBatchTest, ProgressCountsEveryFileOnce) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    WriteImageFile(source / "b.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    AddRow("unchecked.jpg", 0, false);
    AddRow("b.jpg");
    Run();
    const std::vector<std::pair<int, int>> expected = {{0, 2}, {0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(ui.progress, expected);
}

TEST_F(RunBatchTest, RotationSwapsTheSourceSize) {
    WriteImageFile(source / "a.png", MakeTestImage(100, 75));
    AddRow("a.png", 90);
    settings.Base = 4;
    settings.Aspect = 0;
    settings.Method = 2;
    settings.WidthRatio = 100;
    settings.HeightRatio = 100;
    ASSERT_EQ(Run().written, 1);
    EXPECT_EQ(HeaderOf(Out("a_s.png")).width, 75);
    EXPECT_EQ(HeaderOf(Out("a_s.png")).height, 100);
}

uint32_t Big32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

TEST_F(RunBatchTest, AutomaticOrientationTurnsTaggedJpegsUpright) {
    struct Case {
        const char* name;
        int auto_rotate;
        int rotation;
        int width, height;
    };
    const Case cases[] = {
        {"orientation 6 applied", 1, 0, 40, 80},
        {"orientation 6 ignored", 0, 0, 80, 40},
        {"orientation 6, then a quarter turn", 1, 90, 80, 40},
    };
    test::WriteJpegWithExif(source / "tagged.jpg", MakeTestImage(80, 40), 6);
    AddRow("tagged.jpg");
    settings.Base = 4;
    settings.Aspect = 0;
    settings.Method = 2;
    settings.WidthRatio = 100;
    settings.HeightRatio = 100;
    settings.FileType = 8;  // PNG
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Out());
        settings.AutoRotate = c.auto_rotate;
        list.rows()[0].rotation = c.rotation;
        ASSERT_EQ(Run().written, 1);
        EXPECT_EQ(HeaderOf(Out("tagged_s.png")).width, c.width);
        EXPECT_EQ(HeaderOf(Out("tagged_s.png")).height, c.height);
    }
}

TEST_F(RunBatchTest, KeptExifCarriesTheRealSizeAndAnUprightOrientation) {
    test::WriteJpegWithExif(source / "tagged.jpg", MakeTestImage(80, 40), 6);
    AddRow("tagged.jpg");
    settings.Exif = 1;
    settings.Width = 640;
    settings.Height = 480;
    settings.BigSize = 4;  // the 240 x 480 target is larger than 40 x 80: the source size is kept
    ASSERT_EQ(Run().written, 1);
    const std::vector<uint8_t> out = ReadBytes(Out("tagged_s.jpg"));
    // SOI, then the copied segment: marker, length, "Exif\0\0", TIFF header at byte 12.
    ASSERT_GT(out.size(), 100u);
    ASSERT_EQ(out[2], 0xFF);
    ASSERT_EQ(out[3], 0xE1);
    EXPECT_EQ(out[30] << 8 | out[31], 1);  // Orientation
    EXPECT_EQ(Big32(out, 72), 40u);        // PixelXDimension
    EXPECT_EQ(Big32(out, 84), 80u);        // PixelYDimension
    EXPECT_EQ(HeaderOf(Out("tagged_s.jpg")).width, 40);
}

TEST_F(RunBatchTest, SizeTargetHoldsWithTheExifSegment) {
    test::WriteJpegWithExif(source / "tagged.jpg", MakeTestImage(640, 480), 1);
    AddRow("tagged.jpg");
    settings.Exif = 1;
    settings.Width = 320;
    settings.Height = 240;
    settings.SetSize = 1;
    settings.DataSize = 8;
    ASSERT_EQ(Run().written, 1);
    EXPECT_LE(ReadBytes(Out("tagged_s.jpg")).size(), 8u * 1024u);
}

TEST_F(RunBatchTest, ShotDateBecomesTheModificationTime) {
    test::WriteJpegWithExif(source / "a.jpg", MakeTestImage(80, 60), 1, "2007:05:02 14:03:09");
    AddRow("a.jpg");
    settings.ExifDate = 1;
    ASSERT_EQ(Run().written, 1);
    EXPECT_EQ(test::ModificationTime(Out("a_s.jpg")), test::LocalTimeOf("2007:05:02 14:03:09"));
}

TEST_F(RunBatchTest, MissingOutputFolderIsCreatedOnYesAndStopsOnNo) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    settings.OutputPath = "x/y";
    ui.answer_yes = false;
    EXPECT_EQ(Run().kind, BatchOutcome::Kind::kStopped);
    EXPECT_FALSE(std::filesystem::exists(source / "x"));
    EXPECT_EQ(settings.OutputPath, "x/y");

    ui.answer_yes = true;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(outcome.output_folder, source.path() + "x/y/");
    EXPECT_TRUE(std::filesystem::exists(source.path() + "x/y/a_s.jpg"));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].text, source.path() + "x/y/ \nフォルダは存在しません。作成しますか？");
}

TEST_F(RunBatchTest, ResizeFolderIsNamedAfterTheDateAndKept) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    settings.Resize = 1;
    ASSERT_EQ(Run().written, 1);
    EXPECT_TRUE(std::filesystem::exists(source.path() + "resize20070502/a_s.jpg"));
    EXPECT_EQ(settings.OutputPath, "resize20070502");
}

TEST_F(RunBatchTest, NothingSelected) {
    AddRow("a.jpg", 0, false);
    EXPECT_EQ(Run().kind, BatchOutcome::Kind::kNothingToDo);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].caption, "画像ファイルエラー");
    EXPECT_EQ(ui.errors[0].text, "画像ファイルが無いか、１つも選択されていません。処理を中止します。");
}

TEST_F(RunBatchTest, CompletionQuestion) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    ui.tick_dont_ask_again = true;
    Run();
    ASSERT_EQ(ui.offered_folders.size(), 1u);
    EXPECT_EQ(ui.offered_folders[0], Out());
    EXPECT_EQ(settings.Complete, 1);

    Run();
    EXPECT_EQ(ui.offered_folders.size(), 1u);  // Complete 1: not asked again

    settings.Complete = 0;
    RunBatch(settings, list, ui, {true, 1}, kToday);
    EXPECT_EQ(ui.offered_folders.size(), 1u);  // quiet run
}

TEST_F(RunBatchTest, TypedOutputFolderIsNotHandedOn) {
    WriteImageFile(source / "a.jpg", MakeTestImage(160, 120));
    AddRow("a.jpg");
    settings.OutputPath = "/" + std::string(source.path().substr(1)) + "abs";
    const std::string typed = settings.OutputPath;
    Run();
    EXPECT_EQ(settings.OutputPath, typed);  // the trailing '/' of the working folder stays inside the run
}

}  // namespace
}  // namespace pelimon
