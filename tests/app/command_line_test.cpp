// The command line: the scan of the arguments and what the handling does with them.
#include "app/command_line.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"

namespace pelimon {
namespace {

using test::FakeInteraction;
using test::TempFolder;
using test::WriteBytes;
using test::WriteSizedFile;

CommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

TEST(ParseCommandLine, SwitchesAndPaths) {
    const struct {
        std::vector<std::string> args;
        bool quiet;
        bool parameter_mode;
        std::optional<std::string> parameter_file;
        std::vector<std::string> paths;
    } cases[] = {
        {{}, false, false, std::nullopt, {}},
        {{"/Q"}, true, false, std::nullopt, {}},
        {{"a.jpg", "/Q", "b.jpg"}, true, false, std::nullopt, {"a.jpg", "b.jpg"}},
        {{"/F"}, true, true, std::nullopt, {}},
        {{"/F", "/Q", "job.txt"}, true, true, std::nullopt, {"job.txt"}},
        {{"/F", "job.txt", "/G"}, false, true, "job.txt", {"job.txt"}},
        {{"/F", "a.txt", "/F", "b.txt"}, true, true, "b.txt", {"a.txt", "b.txt"}},
        {{"/Q", "/F", "/Q", "x"}, true, true, "/Q", {"x"}},
        {{"/G", "/Q"}, true, false, std::nullopt, {}},
        {{"/Q", "/G"}, false, false, std::nullopt, {}},
        {{"/q", "-Q", "/Q/"}, false, false, std::nullopt, {"/q", "-Q", "/Q/"}},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const std::string& arg : c.args) {
            trace += arg + " ";
        }
        SCOPED_TRACE(trace);
        const CommandLine command_line = Parse(c.args);
        EXPECT_EQ(command_line.empty, c.args.empty());
        EXPECT_EQ(command_line.quiet_run, c.quiet);
        EXPECT_EQ(command_line.parameter_mode, c.parameter_mode);
        EXPECT_EQ(command_line.parameter_file, c.parameter_file);
        EXPECT_EQ(command_line.paths, c.paths);
    }
}

// Stands in for RunBatch and remembers what it was given.
struct BatchCall {
    std::vector<FileRow> rows;
    int file_count = 0;
    int selected_count = 0;
    bool quiet = false;
    int select = -1;
};

class HandleCommandLineTest : public ::testing::Test {
  protected:
    CommandLineOutcome Handle(std::vector<std::string> args) {
        return HandleCommandLine(
            Parse(std::move(args)), sources, settings, ui,
            [this](const AppSettings& s, const FileList& list, Interaction&, bool quiet) {
                call = BatchCall{list.rows(), list.file_count(), list.selected_count(), quiet, s.Select};
                BatchOutcome outcome;
                outcome.kind = BatchOutcome::Kind::kCompleted;
                return outcome;
            });
    }

    TempFolder folder;
    AppSettings settings;
    SourceList sources;
    FakeInteraction ui;
    std::optional<BatchCall> call;
};

TEST_F(HandleCommandLineTest, QuietAloneEmptiesTheListAndRunsTheBatch) {
    WriteSizedFile(folder.Path("a.jpg"), 10);
    sources.SetFolderText(folder.path(), settings);
    ASSERT_EQ(sources.list().file_count(), 1);

    const CommandLineOutcome outcome = Handle({"/Q"});

    ASSERT_TRUE(call.has_value());
    EXPECT_TRUE(call->rows.empty());
    EXPECT_EQ(call->selected_count, 0);
    EXPECT_TRUE(call->quiet);
    EXPECT_TRUE(outcome.end_program);
}

TEST_F(HandleCommandLineTest, ForgottenParameterFileNameIsReported) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/F"}, {"/F", "/Q", "job.txt"}}) {
        SCOPED_TRACE(args.size());
        ui.errors.clear();
        const CommandLineOutcome outcome = Handle(args);
        EXPECT_EQ(outcome.problem, CommandLineOutcome::Problem::kMissingParameterFile);
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0].caption, "コマンドラインエラー");
        EXPECT_EQ(ui.errors[0].text, "パラメータファイルが指定されていません。");
        EXPECT_FALSE(call.has_value());
        EXPECT_TRUE(outcome.end_program);
    }
}

TEST_F(HandleCommandLineTest, UnreadableParameterFileIsReported) {
    const CommandLineOutcome outcome = Handle({"/F", folder.path() + "missing.txt"});
    EXPECT_EQ(outcome.problem, CommandLineOutcome::Problem::kParameterFileError);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].caption, "エラー");
    EXPECT_EQ(ui.errors[0].text, "パラメータファイルが見つかりません。");
    EXPECT_FALSE(call.has_value());
}

TEST_F(HandleCommandLineTest, ParameterFileWithoutParameterLinesDoesNothing) {
    const std::string job = folder.Path("job.txt");
    WriteBytes(job, "# only a comment\n");
    const CommandLineOutcome outcome = Handle({"/F", job});
    EXPECT_EQ(outcome.problem, CommandLineOutcome::Problem::kNoParameterLines);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_FALSE(call.has_value());
}

TEST_F(HandleCommandLineTest, ParameterFileSetsSettingsAndListsItsNamesWithRotations) {
    WriteSizedFile(folder.Path("src/a.jpg"), 10);
    WriteSizedFile(folder.Path("src/b.png"), 10);
    WriteSizedFile(folder.Path("src/c.jpg"), 10);
    const std::string job = folder.Path("job.txt");
    WriteBytes(job, "IMAGEPATH=" + folder.path() + "src\nJPEGCOMP=55\nLIST=<<\na.jpg,90\n b.png , 270 \nc.jpg\n>>\n");
    settings.Select = 0;

    const CommandLineOutcome outcome = Handle({"/F", job});

    EXPECT_EQ(settings.JpegComp, 55);
    EXPECT_EQ(settings.ImagePath, folder.path() + "src/");
    ASSERT_TRUE(call.has_value());
    EXPECT_TRUE(call->quiet);
    EXPECT_EQ(call->select, 1);
    ASSERT_EQ(call->rows.size(), 3u);
    // Each named file lands above the ones before it.
    EXPECT_EQ(call->rows[0].name, "c.jpg");
    EXPECT_EQ(call->rows[0].rotation, 0);
    EXPECT_EQ(call->rows[1].name, "b.png");
    EXPECT_EQ(call->rows[1].rotation, 270);
    EXPECT_EQ(call->rows[2].name, "a.jpg");
    EXPECT_EQ(call->rows[2].rotation, 90);
    EXPECT_EQ(call->file_count, 3);
    EXPECT_EQ(call->selected_count, 3);
    EXPECT_TRUE(outcome.path_notes.empty());
}

// An ImagePath without its final '/' (edited by hand in the settings file) still names the
// folder the entries are in.
TEST_F(HandleCommandLineTest, ParameterNamesJoinAnImagePathWithoutSlash) {
    WriteSizedFile(folder.Path("src/a.jpg"), 10);
    const std::string job = folder.Path("job.txt");
    WriteBytes(job, "LIST=<<\na.jpg\n>>\n");
    settings.ImagePath = folder.path() + "src";

    Handle({"/F", job});

    ASSERT_TRUE(call.has_value());
    ASSERT_EQ(call->rows.size(), 1u);
    EXPECT_EQ(call->rows[0].name, "a.jpg");
}

TEST_F(HandleCommandLineTest, ParameterFileWithWindowSwitchOnlyListsUnlessDragDrop) {
    WriteSizedFile(folder.Path("a.jpg"), 10);
    const std::string job = folder.Path("job.txt");
    const std::string image_path = folder.path().substr(0, folder.path().size() - 1);  // without its final '/'
    WriteBytes(job, "IMAGEPATH=" + image_path + "\nWIDTH=320\nLIST=<<\na.jpg\n>>\n");

    settings.DragDrop = 0;
    CommandLineOutcome outcome = Handle({"/F", job, "/G"});
    EXPECT_EQ(settings.Width, 320);
    EXPECT_EQ(sources.list().rows().size(), 1u);
    EXPECT_FALSE(call.has_value());
    EXPECT_FALSE(outcome.batch_ran);
    EXPECT_FALSE(outcome.end_program);

    settings.DragDrop = 1;
    outcome = Handle({"/F", job, "/G"});
    ASSERT_TRUE(call.has_value());
    EXPECT_FALSE(call->quiet);
    EXPECT_TRUE(outcome.end_program);
}

TEST_F(HandleCommandLineTest, PathsWithoutQuietOnlyListUncheckedWhenSelectIsZero) {
    WriteSizedFile(folder.Path("a.jpg"), 10);
    WriteSizedFile(folder.Path("b.jpg"), 10);
    settings.Select = 0;
    const CommandLineOutcome outcome = Handle({folder.Path("a.jpg"), folder.Path("b.jpg")});
    EXPECT_FALSE(call.has_value());
    EXPECT_FALSE(outcome.end_program);
    EXPECT_EQ(sources.FileCountText(), "（0/2）");
}

TEST_F(HandleCommandLineTest, QuietRunChecksEveryRowWhenSelectIsZero) {
    WriteSizedFile(folder.Path("a.jpg"), 10);
    WriteSizedFile(folder.Path("b.jpg"), 10);
    settings.Select = 0;
    Handle({"/Q", folder.Path("a.jpg"), folder.Path("b.jpg")});
    ASSERT_TRUE(call.has_value());
    EXPECT_EQ(call->select, 1);
    EXPECT_EQ(settings.Select, 1);
    ASSERT_EQ(call->rows.size(), 2u);
    EXPECT_TRUE(call->rows[0].checked && call->rows[1].checked);
    EXPECT_EQ(call->selected_count, 2);
}

// A file manager's selection of several places: every file and folder named is listed, each row
// with its own folder, so that none is left out of the batch; the source folder is the first's.
TEST_F(HandleCommandLineTest, PathsOfSeveralPlacesAreAllListedWithTheirFolders) {
    WriteSizedFile(folder.Path("one/a.jpg"), 10);
    WriteSizedFile(folder.Path("two/b.jpg"), 10);
    WriteSizedFile(folder.Path("three/c.jpg"), 10);
    WriteSizedFile(folder.Path("three/deep/d.jpg"), 10);
    settings.Recurse = kOn;
    const CommandLineOutcome outcome =
        Handle({folder.Path("one/a.jpg"), folder.Path("two/b.jpg"), folder.path() + "three"});
    EXPECT_EQ(settings.ImagePath, folder.path() + "one/");
    EXPECT_TRUE(outcome.path_notes.empty());
    std::vector<std::string> rows;
    for (const FileRow& row : sources.list().rows()) {
        rows.push_back(row.folder + row.name);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{folder.Path("one/a.jpg"), folder.Path("two/b.jpg"),
                                              folder.Path("three/c.jpg"), folder.Path("three/deep/d.jpg")}));
    EXPECT_EQ(sources.list().rows().back().name, "deep/d.jpg");  // named from its folder, as in a tree
}

// The counts follow the rows. Counting the arguments instead, as the Windows original did, left
// files of a folder named after a file out of the batch, and counted files that were never listed.
TEST_F(HandleCommandLineTest, CountsFollowTheRowsWhateverThePathsWere) {
    WriteSizedFile(folder.Path("a.jpg"), 10);
    for (const char* name : {"d/1.jpg", "d/2.jpg", "d/3.jpg"}) {
        WriteSizedFile(folder.Path(name), 10);
    }
    const struct {
        std::vector<std::string> args;
        int rows;
    } cases[] = {
        {{folder.Path("a.jpg"), folder.path() + "d/"}, 4},
        {{folder.path() + "d/", folder.Path("a.jpg")}, 4},
        {{"/Q", folder.path() + "d/", folder.Path("d/1.jpg")}, 4},
        {{"/Q", folder.Path("nothing.jpg"), folder.Path("a.jpg")}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        Handle(c.args);
        EXPECT_EQ(sources.list().file_count(), c.rows);
        EXPECT_EQ(static_cast<int>(sources.list().rows().size()), c.rows);
        EXPECT_EQ(sources.list().selected_count(), c.rows);
    }
}

TEST_F(HandleCommandLineTest, MissingPathIsNoted) {
    const CommandLineOutcome outcome = Handle({"/Q", folder.Path("typo.jpg")});
    ASSERT_EQ(outcome.path_notes.size(), 1u);
    EXPECT_EQ(outcome.path_notes[0].path, folder.Path("typo.jpg"));
    EXPECT_EQ(sources.folder_text(), folder.Path("typo.jpg") + "/");
}

}  // namespace
}  // namespace pelimon
