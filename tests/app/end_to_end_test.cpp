// Batches through the pelimon binary with no display, as a script or a cron job runs them.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imagelib/imagelib.h"
#include "tests/app/app_test_support.h"
#include "tests/support/pelimon_process.h"

namespace pelimon {
namespace {

using test::FileNames;
using test::ProcessResult;
using test::ReadText;
using test::TempFolder;
using test::WriteBytes;
using test::WriteJpeg;
using test::WritePng;

// Runs the binary with `args`, no display, the settings file `ini`, and standard error captured in
// `scratch`.
ProcessResult RunPelimon(const std::vector<std::string>& args, const std::string& ini, const TempFolder& scratch) {
    return test::RunPelimon(args, ini, scratch / "stderr.txt");
}

// Settings of these tests: half size in both directions, "<name>_s" names, into `out`.
void WriteSettings(const std::string& ini, const std::string& out, const std::string& extra_option_lines = "") {
    WriteBytes(ini, "[General]\nOutputPath=" + out +
                        "\n[ImageSize]\nBase=4\nMethod=2\nAspect=0\nWidthRatio=50\nHeightRatio=50\n"
                        "[Option]\nNameRule=1\nAddText=_s\nFileType=1\n" +
                        extra_option_lines);
}

ImageHeader Probe(const std::string& path) {
    Result<ImageHeader> header = ProbeImageFile(path);
    return header ? header.value() : ImageHeader{};
}

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ini = scratch.Path("pelimon.ini");
        out = scratch.path() + "out/";
        src = scratch.path() + "src/";
        std::filesystem::create_directories(src);
        WriteSettings(ini, out);
    }
    ProcessResult Pelimon(const std::vector<std::string>& args) { return RunPelimon(args, ini, scratch); }

    TempFolder scratch;
    std::string ini;
    std::string out;
    std::string src;
};

TEST_F(EndToEnd, QuietFolderReducesEveryImageIntoANewOutputFolder) {
    WriteJpeg(src + "a.jpg", 64, 48);
    WriteJpeg(src + "b.jpg", 40, 20);
    WritePng(src + "c.png", 30, 10);
    WriteBytes(src + "notes.txt", "not an image");

    const ProcessResult run = Pelimon({"/Q", src});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"a_s.jpg", "b_s.jpg", "c_s.png"}));
    EXPECT_EQ(Probe(out + "a_s.jpg").width, 32);
    EXPECT_EQ(Probe(out + "c_s.png").height, 5);
    EXPECT_NE(run.err.find("3 件を " + out), std::string::npos) << run.err;
}

TEST_F(EndToEnd, QuietFilesReduceOnlyThoseFiles) {
    WriteJpeg(src + "a.jpg", 64, 48);
    WritePng(src + "b.png", 20, 20);
    WriteJpeg(src + "left-alone.jpg", 20, 20);

    const ProcessResult run = Pelimon({"/Q", src + "a.jpg", src + "b.png"});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"a_s.jpg", "b_s.png"}));
}

TEST_F(EndToEnd, ParameterFileNamesFilesWithRotationsAndItsSettingsAreSaved) {
    WriteJpeg(src + "wide.jpg", 64, 32);
    WriteJpeg(src + "also.jpg", 64, 32);
    WriteJpeg(src + "unnamed.jpg", 64, 32);
    const std::string job = scratch.Path("job.txt");
    WriteBytes(job, "# nightly job\nIMAGEPATH=" + src + "\nOUTPUTPATH=" + out +
                        "\nJPEGCOMP=77\nADDTEXT=_r\nLIST=<<\nwide.jpg,90\nalso.jpg\n>>\n");

    const ProcessResult run = Pelimon({"/F", job});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"also_r.jpg", "wide_r.jpg"}));
    const ImageHeader turned = Probe(out + "wide_r.jpg");
    EXPECT_EQ(turned.width, 16);
    EXPECT_EQ(turned.height, 32);
    const ImageHeader upright = Probe(out + "also_r.jpg");
    EXPECT_EQ(upright.width, 32);
    EXPECT_EQ(upright.height, 16);

    const std::string saved = ReadText(ini);
    EXPECT_NE(saved.find("JpegComp=77"), std::string::npos) << saved;
    EXPECT_NE(saved.find("AddText=_r"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ImagePath=" + src), std::string::npos) << saved;
}

TEST_F(EndToEnd, BadFileInTheMiddleIsReportedAndTheRestWritten) {
    WriteJpeg(src + "a.jpg", 40, 40);
    WriteBytes(src + "b.jpg", "this is no JPEG");
    WriteJpeg(src + "c.jpg", 40, 40);

    const ProcessResult run = Pelimon({"/Q", src});

    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"a_s.jpg", "c_s.jpg"}));
    EXPECT_NE(run.err.find("b.jpg"), std::string::npos) << run.err;
}

TEST_F(EndToEnd, PhoneAndWebFilesGoThroughAndDamagedHeifsAreSkipped) {
    const std::filesystem::path modern = std::filesystem::path(PELIMON_TEST_DATA_DIR) / "modern";
    for (const char* name : {"bad-atomsize.heif", "bad-nodata.heif", "bad-nometa-1.heif", "bad-nometa-2.heif",
                             "made-irot6.heic", "made-orient6.webp", "srgb-800x600.avif"}) {
        std::filesystem::copy_file(modern / name, src + name);
    }

    const ProcessResult run = Pelimon({"/Q", src});

    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(FileNames(out),
              (std::vector<std::string>{"made-irot6_s.jpg", "made-orient6_s.webp", "srgb-800x600_s.avif"}));
    EXPECT_EQ(Probe(out + "made-irot6_s.jpg").width, 24);  // upright 48x64, halved
    EXPECT_EQ(Probe(out + "made-orient6_s.webp").width, 24);
    EXPECT_EQ(Probe(out + "srgb-800x600_s.avif").width, 400);
    EXPECT_NE(run.err.find("bad-nodata.heif"), std::string::npos) << run.err;
}

TEST_F(EndToEnd, SourcesAreNeverOverwritten) {
    WriteSettings(ini, "", "AddText=\n");
    WriteJpeg(src + "a.jpg", 40, 40);
    const std::string original = ReadText(src + "a.jpg");

    const ProcessResult run = Pelimon({"/Q", src + "a.jpg"});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadText(src + "a.jpg"), original);
    EXPECT_EQ(FileNames(src).size(), 2u);
}

TEST_F(EndToEnd, ExitStatuses) {
    WriteJpeg(src + "a.jpg", 40, 40);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{}, 2, "使い方"},
        {{"/F"}, 2, "コマンドラインエラー: パラメータファイルが指定されていません。"},
        {{"/F", "/Q", src + "a.jpg"}, 2, "コマンドラインエラー: パラメータファイルが指定されていません。"},
        {{"/F", scratch.path() + "missing.txt"}, 2, "エラー: パラメータファイルが見つかりません。"},
        {{"/Q"}, 3, "画像ファイルエラー: 画像ファイルが無いか、１つも選択されていません。処理を中止します。"},
        {{src + "a.jpg"}, 3, "/Q"},
        {{"--version"}, 0, ""},
        {{"--help"}, 0, ""},
        // A file named "--help" is reached as "./--help" (any argument starting with '-' is an option).
        {{"/Q", "./--help"}, 3, "--help"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args.front());
        const ProcessResult run = Pelimon(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(EndToEnd, UnwritableSettingsFileIsReported) {
    WriteJpeg(src + "a.jpg", 40, 40);
    // The settings file would have to live under a regular file, so it can be neither read nor
    // written; the parameter file names everything the batch needs.
    WriteBytes(scratch.Path("plain-file"), "");
    const std::string lost_ini = scratch.Path("plain-file") + "/pelimon.ini";
    const std::string job = scratch.Path("job.txt");
    WriteBytes(job, "IMAGEPATH=" + src + "\nOUTPUTPATH=" + out + "\nLIST=<<\na.jpg\n>>\n");

    const ProcessResult written = RunPelimon({"/F", job}, lost_ini, scratch);
    EXPECT_EQ(written.status, 5) << written.err;
    EXPECT_NE(written.err.find("設定ファイルを保存できませんでした"), std::string::npos) << written.err;
    EXPECT_EQ(FileNames(out).size(), 1u);

    const ProcessResult nothing = RunPelimon({"/Q"}, lost_ini, scratch);
    EXPECT_EQ(nothing.status, 3) << nothing.err;
}

}  // namespace
}  // namespace pelimon
