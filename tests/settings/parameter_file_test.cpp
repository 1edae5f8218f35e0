#include "settings/parameter_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

using test::TempFolder;

using Lines = std::vector<std::string>;

Result<ParameterFile> ReadText(std::string_view text) {
    TempFolder folder;
    return ReadParameterFile(folder.Write("job.txt", text));
}

TEST(ParameterFile, SplitsParameterLinesAndTheNameBlock) {
    struct Row {
        const char* name;
        const char* text;
        Lines lines;
        Lines names;
    };
    const Row rows[] = {
        {"comments, blank lines and blanks are dropped",
         "# job\n\n   \n  WIDTH=800   # wide\r\n\t# only a comment\nHEIGHT=600\n",
         {"WIDTH=800", "HEIGHT=600"},
         {}},
        {"a LIST block alone is one line",
         "LIST=<<\nIMG_0001.JPG\n  IMG_0002.JPG , 90  \n\n# skipped\n>>\n",
         {"LIST=<<"},
         {"IMG_0001.JPG", "IMG_0002.JPG , 90"}},
        {"parameter lines may follow the block",
         "LIST=<<\na.jpg\n>>\nWIDTH=100\n",
         {"LIST=<<", "WIDTH=100"},
         {"a.jpg"}},
        {"a missing >> makes every later line a name",
         "LIST=<<\na.jpg\nWIDTH=100\n",
         {"LIST=<<"},
         {"a.jpg", "WIDTH=100"}},
        {"names on the closing line are ignored",
         "LIST=<<\na.jpg\nb.jpg >>\nWIDTH=1\n",
         {"LIST=<<", "WIDTH=1"},
         {"a.jpg"}},
        {"names after >> are ignored too", "LIST=<<\n>> b.jpg\n", {"LIST=<<"}, {}},
        {"lower-case LIST with blanks around =", "list = <<\na.jpg\n>>\n", {"list = <<"}, {"a.jpg"}},
        {"names without a LIST line are parameter lines", "a.jpg\n", {"a.jpg"}, {}},
        {"CR LF line ends", "WIDTH=1\r\nLIST=<<\r\na.jpg\r\n>>\r\n", {"WIDTH=1", "LIST=<<"}, {"a.jpg"}},
        {"empty file", "", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Result<ParameterFile> file = ReadText(row.text);
        ASSERT_TRUE(file);
        EXPECT_EQ(file.value().lines, row.lines);
        EXPECT_EQ(file.value().names, row.names);
    }
}

TEST(ParameterFile, LastLineWithoutNewlineIsRead) {
    const Result<ParameterFile> file = ReadText("WIDTH=1\nHEIGHT=2");
    ASSERT_TRUE(file);
    EXPECT_EQ(file.value().lines, (Lines{"WIDTH=1", "HEIGHT=2"}));

    const Result<ParameterFile> names = ReadText("LIST=<<\na.jpg\nb.jpg");
    ASSERT_TRUE(names);
    EXPECT_EQ(names.value().names, (Lines{"a.jpg", "b.jpg"}));
}

TEST(ParameterFile, HashDoesNotEatTheCharacterBeforeIt) {
    const Result<ParameterFile> file = ReadText("WIDTH=800# wide\nLIST=<<\na.jpg# first\n>>\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file.value().lines, (Lines{"WIDTH=800", "LIST=<<"}));
    EXPECT_EQ(file.value().names, (Lines{"a.jpg"}));
}

TEST(ParameterFile, LongLinesAreNotCutAt255Bytes) {
    const std::string long_name(300, 'n');
    const std::string long_value(1000, 'v');
    const Result<ParameterFile> file = ReadText("ADDTEXT=" + long_value + "\nLIST=<<\n" + long_name + ".jpg\n>>\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file.value().lines, (Lines{"ADDTEXT=" + long_value, "LIST=<<"}));
    EXPECT_EQ(file.value().names, (Lines{long_name + ".jpg"}));
}

TEST(ParameterFile, MoreThan49LinesAreAllRead) {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "WIDTH=" + std::to_string(i) + "\n";
    }
    const Result<ParameterFile> file = ReadText(text);
    ASSERT_TRUE(file);
    ASSERT_EQ(file.value().lines.size(), 60u);
    EXPECT_EQ(file.value().lines.back(), "WIDTH=59");
}

TEST(ParameterFile, LineOver64KiBIsRefused) {
    const std::string limit_line = "ADDTEXT=" + std::string(64 * 1024 - 8, 'x');
    ASSERT_EQ(limit_line.size(), 64u * 1024u);
    EXPECT_TRUE(ReadText(limit_line + "\n"));

    TempFolder folder;
    const std::string path = folder.Write("job.txt", "WIDTH=1\n" + limit_line + "x\n");
    const Result<ParameterFile> file = ReadParameterFile(path);
    ASSERT_FALSE(file);
    EXPECT_EQ(file.error().path, path);
    EXPECT_NE(file.error().message.find(path), std::string::npos);
    EXPECT_NE(file.error().message.find("2 行目"), std::string::npos);
}

TEST(ParameterFile, MissingFileGivesTheMessageToShow) {
    TempFolder folder;
    for (const std::string& path : {folder / "missing.txt", folder.path()}) {
        SCOPED_TRACE(path);
        const Result<ParameterFile> file = ReadParameterFile(path);
        ASSERT_FALSE(file);
        EXPECT_EQ(file.error().message, "パラメータファイルが見つかりません。");
        EXPECT_EQ(file.error().path, path);
    }
}

// The output folder holds ① and ～, which strict Shift_JIS would not decode the same way.
TEST(ParameterFile, Cp932FileIsDecoded) {
    const Result<ParameterFile> file = ReadParameterFile(PELIMON_TEST_DATA_DIR "/settings/params_cp932.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file.value().lines, (Lines{"OUTPUTPATH=/tmp/出力①～", "ADDTEXT=_小", "NAMERULE=1", "LIST=<<"}));
    EXPECT_EQ(file.value().names, (Lines{"表紙.JPG, 90", "ソース.jpg"}));
}

}  // namespace
}  // namespace pelimon
