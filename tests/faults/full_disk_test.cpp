// Output and settings on a file system that fills up during the run: a small tmpfs mounted by the
// test (root only).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::NumberedName;
using test::PelimonRunTest;
using test::ProcessResult;
using test::ReadBytes;
using test::ScopedMount;
using test::TemporaryFilesIn;
using test::WriteBytes;
using test::WriteImageFile;

constexpr int kSources = 6;

using FullDisk = PelimonRunTest;

// Each 800 x 600 BMP source gives a 360 KB BMP output: two fit in 1 MB, the rest cannot.
TEST_F(FullDisk, OutputsThatDoNotFitAreReportedAndLeaveNothingBehind) {
    if (!test::RunningAsRoot()) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    const std::string out = scratch / "out/";
    const struct {
        const char* label;
        std::string options;
    } cases[] = {
        {"no space left", "size=1m"},
        {"no inode left", "size=4m,nr_inodes=4"},
    };
    for (int i = 0; i < kSources; ++i) {
        WriteImageFile(src + NumberedName("photo", i, ".bmp"), MakeTestImage(800, 600, i));
    }
    WriteBytes(ini, test::SettingsText(out));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::create_directories(out);
        std::string why;
        const std::optional<ScopedMount> mounted = ScopedMount::Tmpfs(out, c.options, why);
        if (!mounted) {
            GTEST_SKIP() << why;
        }
        // A complete file of an earlier run, which a full disk must not damage.
        WriteImageFile(out + "earlier.bmp", MakeTestImage(100, 100, 9));
        const std::vector<uint8_t> earlier = ReadBytes(out + "earlier.bmp");

        const ProcessResult run = Pelimon({"/Q", src});

        EXPECT_EQ(run.status, 4) << run.err;
        EXPECT_TRUE(TemporaryFilesIn(out).empty()) << ::testing::PrintToString(TemporaryFilesIn(out));
        EXPECT_TRUE(IncompleteImagesIn(out).empty()) << ::testing::PrintToString(IncompleteImagesIn(out));
        EXPECT_EQ(ReadBytes(out + "earlier.bmp"), earlier);
        int written = 0;
        for (int i = 0; i < kSources; ++i) {
            const std::string name = NumberedName("photo", i, "_s.bmp");
            if (std::filesystem::exists(out + name)) {
                ++written;
            } else {
                EXPECT_NE(run.err.find(name), std::string::npos) << "failure not reported: " << name << "\n" << run.err;
            }
        }
        EXPECT_GE(written, 1);
        EXPECT_LT(written, kSources);
        EXPECT_NE(run.err.find(NumberedName("失敗 ", kSources - written, " 件")), std::string::npos) << run.err;
    }
}

// Saving the settings on a full disk fails without touching the settings file already there.
TEST_F(FullDisk, SettingsOnAFullDiskKeepTheirOldContent) {
    if (!test::RunningAsRoot()) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    const std::string settings_folder = scratch / "settings/";
    const std::string full_ini = settings_folder + "pelimon.ini";
    std::filesystem::create_directories(settings_folder);
    std::string why;
    const std::optional<ScopedMount> mounted = ScopedMount::Tmpfs(settings_folder, "size=64k", why);
    if (!mounted) {
        GTEST_SKIP() << why;
    }
    const std::string out = scratch / "out/";
    WriteBytes(full_ini, test::SettingsText(out));
    const std::vector<uint8_t> settings_before = ReadBytes(full_ini);
    WriteBytes(settings_folder + "filler", std::string(64 * 1024 - 4096, 'x'));
    WriteImageFile(src + "a.jpg", MakeTestImage(80, 60));

    const ProcessResult run = test::RunPelimon({"/Q", src}, full_ini, scratch / "stderr.txt");

    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_NE(run.err.find("設定ファイルを保存できませんでした"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(full_ini), settings_before);
    EXPECT_EQ(ListFolder(settings_folder), (std::vector<std::string>{"filler", "pelimon.ini"}));
    EXPECT_EQ(ListFolder(out), (std::vector<std::string>{"a_s.jpg"}));
}

}  // namespace
}  // namespace pelimon
