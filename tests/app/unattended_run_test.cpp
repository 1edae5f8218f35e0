// The pieces of the run without a window that need no batch: start-up, display detection, exit
// statuses and the summary line.
#include "app/unattended_run.h"

#include <stdlib.h>

#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/cpelimon_app.h"
#include "app/terminal_interaction.h"
#include "common/language.h"
#include "imagelib/imagelib.h"
#include "tests/app/app_test_support.h"

namespace pelimon {
namespace {

using test::TempFolder;

EnvLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end()) {
            return std::nullopt;
        }
        return it->second;
    };
}

TEST(DisplayAvailable, FromTheEnvironment) {
    const struct {
        std::map<std::string, std::string> env;
        bool available;
    } cases[] = {
        {{}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}}, false},
        {{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "xcb"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env.size());
        EXPECT_EQ(DisplayAvailable(Environment(c.env)), c.available);
    }
}

TEST(ExitStatusOf, EveryOutcome) {
    using Kind = BatchOutcome::Kind;
    using Problem = CommandLineOutcome::Problem;
    const struct {
        Problem problem;
        bool batch_ran;
        Kind kind;
        int failures;
        int status;
    } cases[] = {
        {Problem::kMissingParameterFile, false, Kind::kNothingToDo, 0, 2},
        {Problem::kParameterFileError, false, Kind::kNothingToDo, 0, 2},
        {Problem::kNoParameterLines, false, Kind::kNothingToDo, 0, 2},
        {Problem::kNone, false, Kind::kNothingToDo, 0, 3},
        {Problem::kNone, true, Kind::kNothingToDo, 0, 3},
        {Problem::kNone, true, Kind::kStopped, 0, 4},
        {Problem::kNone, true, Kind::kCompleted, 1, 4},
        {Problem::kNone, true, Kind::kCompleted, 0, 0},
        {Problem::kNone, true, Kind::kCancelled, 0, 130},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        CommandLineOutcome outcome;
        outcome.problem = c.problem;
        outcome.batch_ran = c.batch_ran;
        outcome.batch.kind = c.kind;
        outcome.batch.failures.resize(static_cast<size_t>(c.failures));
        EXPECT_EQ(ExitStatusOf(outcome), c.status);
    }
}

TEST(SummaryLine, NamesTheFolderAndWhatWentWrong) {
    BatchOutcome batch;
    batch.kind = BatchOutcome::Kind::kCompleted;
    batch.written = 12;
    batch.output_folder = "/out/";
    EXPECT_EQ(SummaryLine(batch), "pelimon: 12 件を /out/ に書き出しました");
    batch.failures.resize(1);
    batch.renamed.resize(2);
    EXPECT_EQ(SummaryLine(batch), "pelimon: 12 件を /out/ に書き出しました（失敗 1 件、別名 2 件）");
    ASSERT_TRUE(SetLanguage(kEnglish));
    EXPECT_EQ(SummaryLine(batch), "pelimon: wrote 12 files to /out/ (1 failed, 2 renamed)");
    ASSERT_TRUE(SetLanguage(kJapanese));
}

TEST(OneLine, DropsMessageBoxLineBreaks) {
    EXPECT_EQ(OneLine("/out/ \nフォルダは存在しません。作成しますか？"),
              "/out/ フォルダは存在しません。作成しますか？");
}

TEST(FailureLine, NamesThePathOnce) {
    const struct {
        Error failure;
        const char* line;
    } cases[] = {
        {{"b.jpg: 読み込めませんでした。", "/src/b.jpg"}, "/src/b.jpg: 読み込めませんでした。"},
        {{"読み込めませんでした。", "/src/b.jpg"}, "/src/b.jpg: 読み込めませんでした。"},
        {{"出力先に書き込めません。", ""}, "出力先に書き込めません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FailureLine(c.failure), c.line);
    }
}

// Sets an environment variable for the length of a test.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) {
            saved_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(CpelimonApp, TooOldLibraryLoadsNothing) {
    TempFolder folder;
    const std::string ini = folder.Path("pelimon.ini");
    test::WriteBytes(ini, "[Option]\nJpegComp=33\n");
    ScopedEnv env("PELIMON_INI", ini);

    CpelimonApp old_library;
    const Status refused = old_library.Start(static_cast<uint16_t>(kMinimumLibraryVersion - 1));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message, kLibraryVersionMessage.view());
    EXPECT_EQ(old_library.settings().JpegComp, 90);
    EXPECT_TRUE(old_library.settings().ProfilePath.empty());

    CpelimonApp app;
    ASSERT_TRUE(app.Start(kMinimumLibraryVersion).ok());
    EXPECT_EQ(app.settings().ProfilePath, ini);
    EXPECT_EQ(app.settings().JpegComp, 33);
}

}  // namespace
}  // namespace pelimon
