// The POSIX command line through the pelimon binary: each option's effect, the errors, and the
// dry run against the real run.
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/language.h"
#include "common/message.h"
#include "exif/source_metadata.h"
#include "exif/tiff_block.h"
#include "imagelib/imagelib.h"
#include "tests/app/app_test_support.h"
#include "tests/batch/batch_test_support.h"
#include "tests/support/pelimon_process.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;
using test::FileNames;
using test::ProcessResult;
using test::ReadBytes;
using test::ReadText;
using test::TempFolder;
using test::WriteBytes;

// One dry-run line: source, output, WxH, format.
struct PlanLine {
    std::string source, output, size, format;
};

std::vector<PlanLine> PlanLines(const std::string& out) {
    std::vector<PlanLine> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        PlanLine plan;
        std::istringstream fields(line);
        std::getline(fields, plan.source, '\t');
        std::getline(fields, plan.output, '\t');
        std::getline(fields, plan.size, '\t');
        std::getline(fields, plan.format, '\t');
        lines.push_back(plan);
    }
    return lines;
}

std::string SizeOf(const std::string& path) {
    const Result<ImageHeader> header = ProbeImageFile(path);
    return header ? std::to_string(header.value().width) + "x" + std::to_string(header.value().height) : "?";
}

class PosixCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        ini = scratch.Path("pelimon.ini");
        src = scratch.path() + "src/";
        out = scratch.path() + "out/";
        fs::create_directories(src);
        // The rule of the settings file that --settings names (half size, "<name>_s") is what
        // options override. PELIMON_INI names it too, which a command line with options ignores.
        settings_text = "[General]\nOutputPath=" + out +
                        "\nImageNum=7\n[ImageSize]\nBase=4\nMethod=2\nAspect=0\nWidthRatio=50\nHeightRatio=50\n"
                        "[Option]\nNameRule=1\nAddText=_s\nFileType=1\nBigSize=1\n";
        WriteBytes(ini, settings_text);
        test::WriteJpeg(src + "a.jpg", 64, 48);
    }
    // Runs pelimon starting from the settings file.
    ProcessResult Run(std::vector<std::string> args, const test::Locale& locale = test::kJapaneseLocale) {
        args.insert(args.begin(), "--settings=" + ini);
        return RunIn(args, {}, locale);
    }
    // Runs pelimon in `folder` with `args` alone.
    ProcessResult RunIn(const std::vector<std::string>& args, const std::string& folder,
                        const test::Locale& locale = test::kJapaneseLocale) {
        return test::RunPelimon(args, ini, scratch / "stderr.txt", locale, folder);
    }
    // The single dry-run line of a.jpg under `args`.
    PlanLine PlanOfA(std::vector<std::string> args) {
        args.insert(args.end(), {"-n", src + "a.jpg"});
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        const std::vector<PlanLine> lines = PlanLines(result.out);
        EXPECT_EQ(lines.size(), 1u) << result.out;
        return lines.empty() ? PlanLine{} : lines.front();
    }
    // Reduces a.jpg into out/ under `args` and returns the output's bytes.
    std::vector<uint8_t> Output(std::vector<std::string> args, const std::string& name = "a_s.jpg") {
        fs::remove_all(out);
        args.push_back(src + "a.jpg");
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return ReadBytes(out + name);
    }

    TempFolder scratch;
    std::string ini, src, out, settings_text;
};

TEST_F(PosixCommandLine, LayoutOptionsDecideNameSizeAndFormat) {
    const std::string cwd = fs::current_path().string();
    struct Case {
        std::vector<std::string> args;
        std::string output;  // relative to out/ unless absolute
        std::string size;
        std::string format;
    } cases[] = {
        {{}, "a_s.jpg", "32x24", "JPEG"},  // the settings file's rule
        {{"-s", "32x32"}, "a_s.jpg", "32x24", "JPEG"},
        {{"--size=20X40"}, "a_s.jpg", "20x15", "JPEG"},
        {{"--width", "16"}, "a_s.jpg", "16x12", "JPEG"},
        {{"--height=12"}, "a_s.jpg", "16x12", "JPEG"},
        {{"-p", "25"}, "a_s.jpg", "16x12", "JPEG"},
        {{"-s", "640x480"}, "a_s.jpg", "64x48", "JPEG"},  // not enlarged
        {{"-s", "128x128", "--enlarge"}, "a_s.jpg", "128x96", "JPEG"},
        {{"-f", "png"}, "a_s.png", "32x24", "PNG"},
        {{"--format=bmp"}, "a_s.bmp", "32x24", "BMP"},
        {{"-f", "gif"}, "a_s.gif", "32x24", "GIF"},
        {{"-f", "webp"}, "a_s.webp", "32x24", "WEBP"},
        {{"--format=avif"}, "a_s.avif", "32x24", "AVIF"},
        {{"-f", "same"}, "a_s.jpg", "32x24", "JPEG"},
        {{"-s", "32x32", "--rotate", "90"}, "a_s.jpg", "24x32", "JPEG"},
        {{"--suffix", "_web"}, "a_web.jpg", "32x24", "JPEG"},
        {{"--prefix", "p_"}, "p_a.jpg", "32x24", "JPEG"},
        {{"--number", "n"}, "n0001.jpg", "32x24", "JPEG"},  // StartNum, whatever ImageNum says
        {{"-o", "rel"}, cwd + "/rel/a_s.jpg", "32x24", "JPEG"},
        {{"-o", scratch.path() + "x/../elsewhere"}, scratch.path() + "elsewhere/a_s.jpg", "32x24", "JPEG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const PlanLine plan = PlanOfA(c.args);
        EXPECT_EQ(plan.source, src + "a.jpg");
        EXPECT_EQ(plan.output, c.output.starts_with('/') ? c.output : out + c.output);
        EXPECT_EQ(plan.size, c.size);
        EXPECT_EQ(plan.format, c.format);
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(cwd + "/rel"));
    EXPECT_EQ(ReadText(ini), settings_text);
}

// Without --settings the run starts from fixed defaults, whatever the settings file (PELIMON_INI)
// holds: each output is named after its source, in the current folder, at most 640 x 480, never
// enlarged. (It used to take the file's rule: "resize0001.webp" in the folder the window used.)
TEST_F(PosixCommandLine, WithoutSettingsFileTheDefaultsHoldNotTheSettingsFile) {
    const std::string work = scratch.path() + "work/";
    fs::create_directories(work);
    test::WriteJpeg(src + "big.jpg", 1280, 960);
    test::WritePng(src + "b.png", 40, 30);
    struct Case {
        std::vector<std::string> args;
        std::string folder;              // where pelimon runs
        std::vector<std::string> lines;  // output, size and format of each dry-run line
    } cases[] = {
        {{"-n", src}, work, {work + "a.jpg 64x48 JPEG", work + "b.png 40x30 PNG", work + "big.jpg 640x480 JPEG"}},
        {{"-n", "-s", "32x32", "-f", "webp", src + "a.jpg"}, work, {work + "a.webp 32x24 WEBP"}},
        {{"-n", "--number", "n", src + "a.jpg"}, work, {work + "n0001.jpg 64x48 JPEG"}},
        {{"-n", "-o", "../out", src + "a.jpg"}, work, {out + "a.jpg 64x48 JPEG"}},
        {{"-n", "a.jpg"}, src, {src + "a (2).jpg 64x48 JPEG"}},  // the source itself is never written over
        {{"-n", "--settings", "../pelimon.ini", src + "a.jpg"}, work, {out + "a_s.jpg 32x24 JPEG"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ProcessResult result = RunIn(c.args, c.folder);
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::string> lines;
        for (const PlanLine& line : PlanLines(result.out)) {
            lines.push_back(line.output + " " + line.size + " " + line.format);
        }
        EXPECT_EQ(lines, c.lines);
    }

    const ProcessResult written = RunIn({"-s", "32x32", "-f", "webp", src}, work);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(FileNames(work), (std::vector<std::string>{"a.webp", "b.webp", "big.webp"}));
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(ReadText(ini), settings_text);

    const ProcessResult unreadable = RunIn({"-n", "--settings=missing.ini", src}, work);
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_NE(unreadable.err.find(work + "missing.ini"), std::string::npos) << unreadable.err;
    EXPECT_TRUE(unreadable.out.empty());
}

TEST_F(PosixCommandLine, ErrorsNameTheOptionAndWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"-q"}, "-q"},
        {{"-q", "0"}, "-q"},
        {{"--quality=101"}, "--quality"},
        {{"-q", "9x"}, "9x"},
        {{"-s", "12"}, "-s"},
        {{"-s", "0x10"}, "-s"},
        {{"--width", "-5"}, "--width"},
        {{"-p", "0"}, "-p"},
        {{"-f", "pcx"}, "pcx"},
        {{"--rotate", "45"}, "--rotate"},
        {{"--contrast", "129"}, "--contrast"},
        {{"--target-size", "0"}, "--target-size"},
        {{"--min-quality", "101"}, "--min-quality"},
        {{"-j", "0"}, "-j"},
        {{"--enlarge=yes"}, "--enlarge"},
        {{"-s", "9x9", "-p", "5"}, "-p"},
        {{"--suffix", "a", "--number", "b"}, "--number"},
        {{"--keep-exif", "--strip"}, "--strip"},
        {{"-n"}, "ファイルまたはフォルダ"},
        {{"/Q", "-n"}, "/Q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> args = c.args;
        if (c.args != std::vector<std::string>{"-n"}) {
            args.push_back(src + "a.jpg");
        }
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("pelimon --help"), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(ReadText(ini), settings_text);
}

// Options whose settings this build does not have yet: refused with a clear line until they are.
TEST_F(PosixCommandLine, PixelOptionsChangeTheOutput) {
    const std::vector<uint8_t> plain = Output({"-q", "90"});
    ASSERT_FALSE(plain.empty());
    EXPECT_LT(Output({"-q", "5"}).size(), plain.size());
    EXPECT_EQ(Output({"-j", "1"}), Output({"--jobs=3"}));  // threads never change an output
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--sampling"}, {"--sharpen"}, {"--grey"}, {"--sepia"}, {"--contrast", "60"}}) {
        SCOPED_TRACE(args.front());
        EXPECT_NE(Output(args), Output({"-j", "2"}));
    }
    Image grey;
    ASSERT_TRUE(DecodeImage(Output({"--grey", "-f", "bmp"}, "a_s.bmp"), {}, grey).ok());
    const uint8_t* pixel = grey.row(grey.height() / 2) + 3 * (grey.width() / 2);
    EXPECT_EQ(pixel[0], pixel[1]);
    EXPECT_EQ(pixel[1], pixel[2]);
}

TEST_F(PosixCommandLine, TargetSizeKeepsTheFileUnderIt) {
    test::WriteImageFile(src + "a.jpg", test::MakeTestImage(400, 300));
    const std::vector<uint8_t> output = Output({"--target-size", "4", "--min-quality", "1", "-p", "100"});
    EXPECT_GT(output.size(), 0u);
    EXPECT_LE(output.size(), 4u * 1024u);
}

TEST_F(PosixCommandLine, MetadataOptions) {
    test::WriteJpegWithExif(src + "a.jpg", test::MakeTestImage(64, 48), 6, "2019:05:04 03:02:01");
    const auto exif_of = [](const std::vector<uint8_t>& bytes) { return ReadSourceMetadata(bytes, 0); };
    EXPECT_FALSE(exif_of(Output({"--keep-exif"})).exif_segment.empty());
    EXPECT_TRUE(exif_of(Output({"--strip"})).exif_segment.empty());

    // Orientation 6 turns the 64 x 48 pixels upright (24 x 32 at half size) unless told not to.
    EXPECT_EQ(PlanOfA({}).size, "24x32");
    EXPECT_EQ(PlanOfA({"--no-auto-rotate"}).size, "32x24");

    // --no-location drops the GPS directory of a camera file and nothing else.
    const std::vector<uint8_t> camera =
        ReadBytes(std::string(PELIMON_TEST_DATA_DIR) + "/camera/ii-app1-gps-nointerop-nothumb-nikon.jpg");
    ASSERT_FALSE(camera.empty());
    WriteBytes(src + "a.jpg", std::string(camera.begin(), camera.end()));
    const auto gps_offset = [&](const std::vector<std::string>& args) {
        const std::vector<uint8_t> segment = exif_of(Output(args)).exif_segment;
        const TiffBlock tiff(segment.size() > 10 ? std::vector<uint8_t>(segment.begin() + 10, segment.end())
                                                 : std::vector<uint8_t>{});
        EXPECT_TRUE(tiff.valid());
        return tiff.GpsIfdOffset();
    };
    EXPECT_NE(gps_offset({"--keep-exif"}), 0u);
    EXPECT_EQ(gps_offset({"--keep-exif", "--no-location"}), 0u);
    test::WriteJpegWithExif(src + "a.jpg", test::MakeTestImage(64, 48), 6, "2019:05:04 03:02:01");

    Output({"--exif-date"});
    struct stat info {};
    ASSERT_EQ(stat((out + "a_s.jpg").c_str(), &info), 0);
    struct tm shot {};
    const time_t local = info.st_mtime;
    localtime_r(&local, &shot);
    EXPECT_EQ(shot.tm_year + 1900, 2019);
    EXPECT_EQ(shot.tm_mon + 1, 5);
    EXPECT_EQ(shot.tm_mday, 4);
}

TEST_F(PosixCommandLine, DryRunAgreesWithTheRealRun) {
    test::WritePng(src + "b.png", 40, 30);
    test::WriteJpeg(src + "small.jpg", 10, 8);      // smaller than the target: its own size
    test::WriteJpeg(src + "a.jpeg", 30, 20);        // wants a.jpg's output name: gets a distinct one
    WriteBytes(src + "notes.txt", "not an image");  // not a listed type: left out
    const std::vector<std::string> args = {"-s", "24x24", "--suffix", "_s", "-o", out, src};
    std::vector<std::string> dry = args;
    dry.insert(dry.begin(), "--dry-run");
    const ProcessResult planned = Run(dry);
    ASSERT_EQ(planned.status, 0) << planned.err;
    EXPECT_FALSE(fs::exists(out));
    const std::vector<PlanLine> lines = PlanLines(planned.out);
    ASSERT_EQ(lines.size(), 4u) << planned.out;

    const ProcessResult real = Run(args);
    ASSERT_EQ(real.status, 0) << real.err;
    std::vector<std::string> planned_names;
    for (const PlanLine& line : lines) {
        SCOPED_TRACE(line.output);
        EXPECT_EQ(SizeOf(line.output), line.size);
        const std::vector<uint8_t> bytes = ReadBytes(line.output);
        EXPECT_EQ(SniffFormat(bytes), line.format == "PNG" ? ImageFormat::kPng : ImageFormat::kJpeg);
        planned_names.push_back(fs::path(line.output).filename().string());
    }
    std::sort(planned_names.begin(), planned_names.end());
    EXPECT_EQ(FileNames(out), planned_names);
}

TEST_F(PosixCommandLine, RunsAreRepeatableAndLeaveTheSettingsFile) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Output({"--number", "n"}, "n0001.jpg");
        EXPECT_EQ(FileNames(out), std::vector<std::string>{"n0001.jpg"});
    }
    EXPECT_EQ(ReadText(ini), settings_text);
}

TEST_F(PosixCommandLine, FilesFoldersAndMissingPaths) {
    fs::create_directories(scratch.path() + "other");
    test::WritePng(scratch.path() + "other/c.png", 20, 10);
    WriteBytes(scratch.path() + "other/c.txt", "named, so taken as it is");
    const ProcessResult result = Run(
        {"-n", src, scratch.path() + "other/c.png", scratch.path() + "other/c.txt", scratch.path() + "missing.jpg"});
    EXPECT_EQ(result.status, 4);
    const std::vector<PlanLine> lines = PlanLines(result.out);
    ASSERT_EQ(lines.size(), 3u) << result.out;
    EXPECT_EQ(lines[0].source, src + "a.jpg");
    EXPECT_EQ(lines[1].source, scratch.path() + "other/c.png");
    EXPECT_EQ(lines[1].output, out + "c_s.png");
    EXPECT_EQ(lines[2].source, scratch.path() + "other/c.txt");
    EXPECT_NE(lines[2].size.find("失敗"), std::string::npos);
    EXPECT_NE(result.err.find("missing.jpg: 見つかりません"), std::string::npos) << result.err;
}

// Each line on standard error starts with "pelimon: " and says what happened in one sentence, in
// the locale's language; they used to be message boxes ("フォルダチェック: ... 作成しますか？ → はい").
// A missing source counts as a failed file (4), also when it was the only one (it gave 3). /Q
// keeps the message boxes.
TEST_F(PosixCommandLine, MessagesAreSentencesNotMessageBoxes) {
    fs::create_directories(scratch.path() + "empty");
    WriteBytes(scratch.path() + "file", "");
    const std::string made = scratch.path() + "made/deeper/";
    const test::Locale english{"LANG=en_US.UTF-8"};
    const struct {
        std::vector<std::string> args;
        test::Locale locale;
        int status;
        std::string err;
    } cases[] = {
        {{"-o", made, src + "a.jpg"},
         test::kJapaneseLocale,
         0,
         "pelimon: 出力フォルダ " + made + " を作成しました\npelimon: 1 件を " + made + " に書き出しました\n"},
        {{"-o", made, src + "a.jpg"},
         english,
         0,
         "pelimon: created the output folder " + made + "\npelimon: wrote 1 file to " + made + "\n"},
        // The tests' pseudo-translation, a language added as one more catalogue: plural forms too.
        {{"-o", made, src + "a.jpg"},
         {"LANG=xx_XX.UTF-8"},
         0,
         "pelimon: [created the output folder " + made + "]\n[pelimon: wrote 1 file to " + made + "]\n"},
        {{"--quiet", "-o", made, src + "a.jpg"}, english, 0, ""},
        {{"-p", "50", scratch.path() + "empty"},
         test::kJapaneseLocale,
         3,
         "pelimon: 縮小する画像ファイルがありませんでした\n"},
        {{"-p", "50", scratch.path() + "empty"}, english, 3, "pelimon: found no image files to reduce\n"},
        {{"-o", scratch.path() + "file/sub", src + "a.jpg"},
         english,
         4,
         "pelimon: cannot write to the output folder " + scratch.path() +
             "file/sub/ (it is read-only, or you have no permission to write)\n"},
        {{"-p", "50", scratch.path() + "missing.jpg"},
         english,
         4,
         "pelimon: " + scratch.path() + "missing.jpg: no such file or folder\n"},
        {{"-n", scratch.path() + "missing.jpg", scratch.path() + "empty"},
         english,
         4,
         "pelimon: " + scratch.path() + "missing.jpg: no such file or folder\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove_all(scratch.path() + "made");
        const ProcessResult result = RunIn(c.args, {}, c.locale);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, c.err);
    }

    const ProcessResult window_style = RunIn({"/Q", src + "a.jpg"}, {});
    EXPECT_EQ(window_style.status, 0) << window_style.err;
    EXPECT_TRUE(
        window_style.err.starts_with("フォルダチェック: " + out + " フォルダは存在しません。作成しますか？ → はい\n"))
        << window_style.err;
}

TEST_F(PosixCommandLine, MessagesHelpAndVersion) {
    struct Case {
        std::vector<std::string> args;
        std::string out_has;  // empty: nothing on standard output
        std::string err_has;  // empty: nothing on standard error
    } cases[] = {
        {{"--quiet", src + "a.jpg"}, "", ""},
        {{"-q", "80", src + "a.jpg"}, "", "1 件を"},
        {{"--verbose", src + "a.jpg"}, "", src + "a.jpg\t" + out + "a_s.jpg\t32x24\tJPEG"},
        {{"-h"}, "--dry-run", ""},
        {{"--help", "--bogus-after-help-is-still-an-error"}, "", "--bogus"},
        {{"-V"}, "pelimon 1.0", ""},
        {{"--version"}, "pelimon ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove_all(out);
        const ProcessResult result = Run(c.args);
        EXPECT_EQ(result.status, c.err_has == "--bogus" ? 2 : 0) << result.err;
        EXPECT_EQ(c.out_has.empty(), result.out.empty()) << result.out;
        EXPECT_NE(result.out.find(c.out_has), std::string::npos);
        EXPECT_EQ(c.err_has.empty(), result.err.empty()) << result.err;
        EXPECT_NE(result.err.find(c.err_has), std::string::npos) << result.err;
    }
}

// The locale picks the language of the usage page and the messages: English for any language but
// Japanese, C, POSIX and those with a catalogue (here the tests' pseudo-translation "xx", every
// line in brackets); Japanese also when no locale is set.
TEST_F(PosixCommandLine, LocaleChoosesTheLanguage) {
    const std::string kJapaneseUsage = "使い方: pelimon [オプション]";
    const std::string kEnglishUsage = "Usage: pelimon [OPTION]... FILE|FOLDER...\n";
    const struct {
        test::Locale locale;
        std::string usage;  // how --help begins
        std::string error;  // the whole standard error of an unknown option
    } cases[] = {
        {{"LANG=en_US.UTF-8"},
         kEnglishUsage,
         "pelimon: unrecognized option '--bogus'\nTry 'pelimon --help' for more information.\n"},
        {{"LANGUAGE=en", "LANG=ja_JP.UTF-8"}, kEnglishUsage, "pelimon: unrecognized option '--bogus'\n"},
        {{"LANGUAGE=xx", "LANG=C"},
         "[Usage: pelimon [OPTION]... FILE|FOLDER...]\n[  or:  pelimon [/Q] [/G] [FILE|FOLDER...]]\n",
         "pelimon: [unrecognized option '--bogus']\n[Try 'pelimon --help' for more information.]\n"},
        {{"LANG=C"}, kJapaneseUsage, "pelimon: 不明なオプションです: --bogus\n"},
        {{"LANG=ja_JP.UTF-8"}, kJapaneseUsage, "pelimon: 不明なオプションです: --bogus\n"},
        {{}, kJapaneseUsage, "pelimon: 不明なオプションです: --bogus\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.locale));
        const ProcessResult help = Run({"--help"}, c.locale);
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.starts_with(c.usage)) << help.out;
        EXPECT_EQ(HoldsJapanese(help.out), c.usage == kJapaneseUsage);
        const ProcessResult unknown = Run({"--bogus", src + "a.jpg"}, c.locale);
        EXPECT_EQ(unknown.status, 2);
        EXPECT_TRUE(unknown.err.starts_with(c.error)) << unknown.err;
        EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 2) << unknown.err;
    }
}

}  // namespace
}  // namespace pelimon
