// Folders that refuse writes: the output folder and the settings file's folder.
#include <filesystem>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::ListFolder;
using test::MakeTestImage;
using test::PelimonRunTest;
using test::ProcessResult;
using test::ReadBytes;
using test::ReadOnlyFolder;
using test::TemporaryFilesIn;
using test::WriteBytes;
using test::WriteImageFile;

class UnwritableFolder : public PelimonRunTest {
  protected:
    void WriteSources() {
        WriteImageFile(src + "a.jpg", MakeTestImage(80, 60));
        WriteImageFile(src + "b.png", MakeTestImage(60, 40, 1));
    }
    std::vector<std::vector<uint8_t>> SourceBytes() const {
        return {ReadBytes(src + "a.jpg"), ReadBytes(src + "b.png")};
    }
};

TEST_F(UnwritableFolder, OutputFolderRefusedWithAMessageAndNothingWritten) {
    const std::string locked = scratch / "locked/";
    const struct {
        const char* label;
        std::string output;  // under the read-only folder, existing or to be made
    } cases[] = {
        {"existing folder", locked},
        {"missing folder below it", locked + "new/deeper/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::create_directories(locked);
        WriteBytes(ini, test::SettingsText(c.output));
        WriteSources();
        const auto before = SourceBytes();
        ProcessResult run;
        {
            const ReadOnlyFolder read_only(locked);
            if (!read_only.ok()) {
                GTEST_SKIP() << "no read-only folder can be made here: " << read_only.why();
            }
            run = Pelimon({"/Q", src});
        }
        EXPECT_EQ(run.status, 4) << run.err;
        EXPECT_NE(run.err.find(c.output), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("書き込みできません"), std::string::npos) << run.err;
        EXPECT_TRUE(ListFolder(locked).empty());
        EXPECT_EQ(SourceBytes(), before);
        EXPECT_EQ(ListFolder(src), (std::vector<std::string>{"a.jpg", "b.png"}));
    }
}

// The settings file lives in a folder that cannot be written: the batch still runs, the failure
// to save is reported at exit, and the file keeps what it held.
TEST_F(UnwritableFolder, SettingsFileThatCannotBeSavedIsReportedAtExit) {
    const std::string settings_folder = scratch / "settings/";
    const std::string locked_ini = settings_folder + "pelimon.ini";
    const std::string out = scratch / "out/";
    const struct {
        const char* label;
        bool bad_source;
        int status;
    } cases[] = {
        {"everything written", false, 5},
        {"a file failed as well", true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::create_directories(settings_folder);
        WriteBytes(locked_ini, test::SettingsText(out));
        const std::vector<uint8_t> settings_before = ReadBytes(locked_ini);
        WriteSources();
        if (c.bad_source) {
            WriteBytes(src + "c.jpg", "no JPEG here");
        }
        ProcessResult run;
        {
            const ReadOnlyFolder read_only(settings_folder);
            if (!read_only.ok()) {
                GTEST_SKIP() << "no read-only folder can be made here: " << read_only.why();
            }
            run = test::RunPelimon({"/Q", src}, locked_ini, scratch / "stderr.txt");
        }
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find("設定ファイルを保存できませんでした"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(locked_ini), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(locked_ini), settings_before);
        EXPECT_EQ(ListFolder(settings_folder), (std::vector<std::string>{"pelimon.ini"}));
        EXPECT_EQ(ListFolder(out), (std::vector<std::string>{"a_s.jpg", "b_s.png"}));
        std::filesystem::remove_all(out);
        std::filesystem::remove(src + "c.jpg");
    }
}

}  // namespace
}  // namespace pelimon
