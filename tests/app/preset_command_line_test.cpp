// Presets through the pelimon binary: stored from a command line, used once or several at a time,
// shared through a file, and the errors of each.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"
#include "tests/support/pelimon_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::TempFolder;

class PresetCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        src = scratch.path() + "src/";
        out = scratch.path() + "out/";
        fs::create_directories(src);
        test::WriteJpeg(src + "a.jpg", 400, 300);
        test::WriteJpeg(src + "b.jpg", 300, 400);
        ini = scratch.Path("pelimon.ini");
    }
    // With the user's settings file `ini` (PELIMON_INI).
    ProcessResult Run(const std::vector<std::string>& args) {
        return test::RunPelimon(args, ini, scratch / "stderr.txt", test::kJapaneseLocale, scratch.path());
    }
    void Save(const std::string& name, std::vector<std::string> options) {
        options.insert(options.end(), {"--save-preset", name});
        const ProcessResult saved = Run(options);
        ASSERT_EQ(saved.status, 0) << saved.err;
    }
    TempFolder scratch;
    std::string src, out, ini;
};

TEST_F(PresetCommandLine, SavedPresetGivesItsSettingsAndOptionsApplyOnTop) {
    Save("web", {"-s", "200x200", "-f", "png", "--suffix", "_w"});
    EXPECT_FALSE(fs::exists(out));  // storing runs nothing
    EXPECT_EQ(Run({"--list-presets"}).out, "web\n");

    const ProcessResult plan = Run({"-n", "--preset", "web", "-o", out, src + "a.jpg"});
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_EQ(plan.out, src + "a.jpg\t" + out + "a_w.png\t200x150\tPNG\n");
    const ProcessResult over = Run({"-n", "--preset", "WEB", "--width", "100", "-o", out, src + "a.jpg"});
    EXPECT_EQ(over.out, src + "a.jpg\t" + out + "a_w.png\t100x75\tPNG\n");

    // The window's settings stay as they were: only the preset's section was written.
    EXPECT_EQ(test::ReadText(ini).find("[General]"), std::string::npos);
}

TEST_F(PresetCommandLine, SeveralPresetsEachGoIntoTheirOwnFolderAsTheyWouldAlone) {
    Save("large", {"-s", "300x300", "--number", "L"});
    Save("small: q50", {"-s", "80x80", "-q", "50", "-f", "webp"});
    const ProcessResult both = Run({"--preset", "large", "--preset", "small: q50", "-o", out, src});
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(test::FileNames(out + "large"), (std::vector<std::string>{"L0001.jpg", "L0002.jpg"}));
    EXPECT_EQ(test::FileNames(out + "small_ q50"), (std::vector<std::string>{"a.webp", "b.webp"}));

    // The largest output is decoded at the scale it needs alone, so its bytes are those of a run
    // of that preset alone.
    const std::string alone = scratch.path() + "alone/";
    ASSERT_EQ(Run({"--preset", "large", "-o", alone, src}).status, 0);
    EXPECT_EQ(test::ReadBytes(alone + "L0001.jpg"), test::ReadBytes(out + "large/L0001.jpg"));
    EXPECT_EQ(test::ReadBytes(alone + "L0002.jpg"), test::ReadBytes(out + "large/L0002.jpg"));

    const ProcessResult plan = Run({"-n", "--preset", "small: q50", "--preset", "large", "-o", out, src + "b.jpg"});
    EXPECT_EQ(plan.out, src + "b.jpg\t" + out + "small_ q50/b.webp\t60x80\tWEBP\n" + src + "b.jpg\t" + out +
                            "large/L0001.jpg\t225x300\tJPEG\n");
}

TEST_F(PresetCommandLine, UpdateKeepsAManifestPerPresetFolder) {
    Save("large", {"-s", "300x300"});
    Save("small", {"-s", "80x80", "-f", "png"});
    const std::vector<std::string> args = {"--update", "--preset", "large", "--preset", "small", "-o", out, src};
    ASSERT_EQ(Run(args).status, 0);
    EXPECT_TRUE(fs::exists(out + "large/.pelimon-manifest"));
    EXPECT_TRUE(fs::exists(out + "small/.pelimon-manifest"));
    // Unchanged: nothing is planned again; a touched source is planned once for each preset.
    std::vector<std::string> dry = args;
    dry.insert(dry.begin(), "-n");
    EXPECT_EQ(Run(dry).out, "");
    fs::last_write_time(src + "a.jpg", fs::last_write_time(src + "a.jpg") + std::chrono::seconds(1));
    EXPECT_EQ(Run(dry).out, src + "a.jpg\t" + out + "large/a.jpg\t300x225\tJPEG\n" + src + "a.jpg\t" + out +
                                "small/a.png\t80x60\tPNG\n");
}

TEST_F(PresetCommandLine, ExportedPresetImportsElsewhereAndAClashChangesNothing) {
    Save("web", {"-s", "200x200"});
    const ProcessResult exported = Run({"--export-preset", "web"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string shared = scratch.Write("web.ini", exported.out);

    const std::string other = scratch.Path("other.ini");
    test::WriteBytes(other, "[General]\nRecurse=1\n");
    const ProcessResult imported = Run({"--settings", other, "--import-preset", shared});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(Run({"--settings", other, "--list-presets"}).out, "web\n");
    EXPECT_EQ(Run({"--settings", other, "--import-preset", shared}).status, 0);  // the same again: fine

    // Another preset of that name is never replaced by an import.
    Save("web", {"-s", "50x50"});
    const std::string before = test::ReadText(ini);
    const ProcessResult clash = Run({"--import-preset", scratch.Write("w2.ini", exported.out + "\n[Preset:new]\n")});
    EXPECT_EQ(clash.status, 2);
    EXPECT_NE(clash.err.find("web"), std::string::npos) << clash.err;
    EXPECT_EQ(test::ReadText(ini), before);

    EXPECT_EQ(Run({"--delete-preset", "web"}).status, 0);
    EXPECT_EQ(Run({"--list-presets"}).out, "");
}

TEST_F(PresetCommandLine, BadNamesAndMissingPresetsAreCommandLineErrors) {
    Save("web", {"-s", "200x200"});
    test::WriteBytes(scratch.Path("damaged.ini"), "[Preset:ok]\nWidth=90\n[Preset:bad]\nWidth=huge\n");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"--preset", "nope", "x.jpg"}, 2, "nope"},
        {{"--preset", "a/b", "x.jpg"}, 2, "a/b"},
        {{"--preset", "web", "--preset", "Web", "x.jpg"}, 2, "Web"},
        {{"--save-preset", ""}, 2, "--save-preset"},
        {{"--list-presets", "x.jpg"}, 2, "--list-presets"},
        {{"--export-preset", "nope"}, 2, "nope"},
        {{"--import-preset", "missing.ini"}, 2, "missing.ini"},
        {{"--delete-preset", "nope"}, 2, "nope"},
        {{"--settings", "damaged.ini", "--list-presets"}, 0, "bad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args[1]);
        const ProcessResult result = Run(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    }
    EXPECT_EQ(Run({"--settings", "damaged.ini", "--list-presets"}).out, "ok\n");
}

}  // namespace
}  // namespace pelimon
