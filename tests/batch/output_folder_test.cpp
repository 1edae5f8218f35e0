#include "batch/output_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "batch_test_support.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/read_only_folder.h"

namespace pelimon {
namespace {

TEST(OutputFolder, Resolution) {
    struct Case {
        const char* name;
        const char* image_path;
        const char* output_path;
        int resize;
        const char* folder;
        const char* saved;
    };
    const Case cases[] = {
        {"relative", "/pics/", "out", 0, "/pics/out/", "out"},
        {"relative, source without slash", "/pics", "out/", 0, "/pics/out/", "out/"},
        {"nested relative", "/pics/", "a/b", 0, "/pics/a/b/", "a/b"},
        {"empty: beside the sources", "/pics/", "", 0, "/pics/", ""},
        {"absolute", "/pics/", "/data/small", 0, "/data/small/", "/data/small"},
        {"absolute with slash", "/pics/", "/data/small/", 0, "/data/small/", "/data/small/"},
        {"resize + date", "/pics/", "/data/small", 1, "/pics/resize20070502/", "resize20070502"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        settings.ImagePath = c.image_path;
        settings.OutputPath = c.output_path;
        settings.Resize = c.resize;
        const Result<OutputFolderPlan> plan = ResolveOutputFolder(settings, "20070502");
        ASSERT_TRUE(plan.ok());
        EXPECT_EQ(plan.value().folder, c.folder);
        EXPECT_EQ(plan.value().saved_output_path, c.saved);
    }
}

TEST(OutputFolder, RelativeFolderWithoutSourceFolderIsRefused) {
    AppSettings settings;
    settings.ImagePath = "";
    settings.OutputPath = "out";
    const Result<OutputFolderPlan> plan = ResolveOutputFolder(settings, "20070502");
    ASSERT_FALSE(plan.ok());
    EXPECT_NE(plan.error().message.find("out"), std::string::npos);
}

TEST(OutputFolder, LocalDateText) {
    std::tm local{};
    local.tm_year = 2007 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 2;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    EXPECT_EQ(LocalDateText(std::mktime(&local)), "20070502");
}

TEST(OutputFolder, CheckCodes) {
    test::TempFolder folder;
    EXPECT_EQ(CheckOutputFolder(folder.path()), kFolderUsable);
    EXPECT_EQ(CheckOutputFolder(folder.path() + "missing/deeper/"), kFolderMissing);
    test::WriteBytes(folder / "file", "x");
    EXPECT_EQ(CheckOutputFolder(folder.path() + "file/"), kFolderNotWritable);
    EXPECT_EQ(CheckOutputFolder(folder.path() + "file/below/"), kFolderNotWritable);
}

TEST(OutputFolder, FolderWithoutWritePermissionIsNotWritable) {
    test::TempFolder folder;
    const std::string locked = folder.path() + "locked/";
    std::filesystem::create_directory(locked);
    const test::ReadOnlyFolder read_only(locked);
    ASSERT_TRUE(read_only.ok()) << read_only.why();
    EXPECT_EQ(CheckOutputFolder(locked), kFolderNotWritable);
    EXPECT_EQ(CheckOutputFolder(locked + "inside/"), kFolderNotWritable);
}

TEST(OutputFolder, MissingFolderIsCreatedOnYes) {
    test::TempFolder folder;
    const std::string missing = folder.path() + "a/b/c/";
    test::FakeInteraction ui;
    ui.answer_yes = true;
    EXPECT_EQ(ConfirmOutputFolder(kFolderMissing, missing, ui), 0);
    EXPECT_TRUE(std::filesystem::is_directory(missing));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].caption, "フォルダチェック");
    EXPECT_EQ(ui.questions[0].text, missing + " \nフォルダは存在しません。作成しますか？");
    EXPECT_EQ(ui.reported_done, std::vector<std::string>{"出力フォルダ " + missing + " を作成しました"});
}

TEST(OutputFolder, MissingFolderStopsOnNo) {
    test::TempFolder folder;
    const std::string missing = folder.path() + "a/";
    test::FakeInteraction ui;
    ui.answer_yes = false;
    EXPECT_EQ(ConfirmOutputFolder(kFolderMissing, missing, ui), 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(ui.reported_done.empty());
}

// A folder that cannot be made, and one that cannot be written, are reported with the folder's
// name, and the run stops.
TEST(OutputFolder, UnusableFolderIsReportedAndStopsTheRun) {
    test::TempFolder folder;
    test::WriteBytes(folder / "file", "x");
    struct Row {
        int code;
        std::string folder;
        const char* caption;
    };
    const Row rows[] = {
        {kFolderMissing, folder.path() + "file/sub/", "フォルダチェック"},
        {kFolderNotWritable, "/ro/", "ドライブエラー"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.folder);
        test::FakeInteraction ui;
        EXPECT_EQ(ConfirmOutputFolder(row.code, row.folder, ui), 1);
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0].caption, row.caption);
        EXPECT_EQ(ui.errors[0].text.rfind(row.folder + " \n", 0), 0u) << ui.errors[0].text;
    }
}

}  // namespace
}  // namespace pelimon
