// The source list model: listing, the type filter, check marks, counts and AddSourcePath.
#include "filelist/source_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"
#include "tests/support/read_only_folder.h"

namespace pelimon {
namespace {

using test::TempFolder;
using test::WriteSizedFile;

std::vector<std::string> RowNames(const SourceList& sources) {
    std::vector<std::string> names;
    for (const FileRow& row : sources.list().rows()) {
        names.push_back(row.name);
    }
    return names;
}

AppSettings SettingsWithTypes(int image_type, int select = 1) {
    AppSettings settings;
    settings.ImageType = image_type;
    settings.Select = select;
    return settings;
}

// A folder with one file of every type, in an order no file system returns by itself.
class MixedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"b.jpg", "A.png", "c.BMP", "d.gif", "notes.txt", "Photo.JPEG", ".hidden.jpg"}) {
            WriteSizedFile(folder.Path(name), 10);
        }
        std::filesystem::create_directories(folder.Path("sub.jpg"));
    }
    TempFolder folder;
};

TEST_F(MixedFolder, ListsImagesByNameIgnoringCaseAndSkipsFoldersAndHiddenFiles) {
    AppSettings settings = SettingsWithTypes(15);
    SourceList sources;
    sources.SetFolderText(folder.path(), settings);

    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"A.png", "b.jpg", "c.BMP", "d.gif", "Photo.JPEG"}));
    EXPECT_EQ(sources.list().file_count(), 5);
    EXPECT_EQ(sources.list().selected_count(), 5);
    EXPECT_EQ(sources.FileCountText(), "（5/5）");
    EXPECT_EQ(settings.ImagePath, folder.path());
}

TEST_F(MixedFolder, TypeFilterDecidesWhatIsListed) {
    const struct {
        int filter;
        std::vector<std::string> names;
    } cases[] = {
        {1, {"c.BMP"}},
        {2, {"b.jpg", "Photo.JPEG"}},
        {4, {"A.png"}},
        {8, {"d.gif"}},
        {7, {"A.png", "b.jpg", "c.BMP", "Photo.JPEG"}},
        {0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("filter " + std::to_string(c.filter));
        AppSettings settings = SettingsWithTypes(15);
        SourceList sources;
        sources.SetFolderText(folder.path(), settings);
        sources.ChangeTypeFilter(c.filter, settings);
        EXPECT_EQ(RowNames(sources), c.names);
        EXPECT_EQ(settings.ImageType, c.filter);
        EXPECT_EQ(sources.list().file_count(), static_cast<int>(c.names.size()));
    }
}

TEST_F(MixedFolder, TypeFilterListingResetsRotations) {
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.SetFolderText(folder.path(), settings);
    for (FileRow& row : sources.list().rows()) {
        row.rotation = 90;
    }
    sources.ChangeTypeFilter(15, settings);
    for (const FileRow& row : sources.list().rows()) {
        EXPECT_EQ(row.rotation, 0) << row.name;
    }
}

TEST_F(MixedFolder, SelectZeroListsEveryRowUnchecked) {
    AppSettings settings = SettingsWithTypes(7, 0);
    SourceList sources;
    sources.SetFolderText(folder.path(), settings);
    ASSERT_EQ(sources.list().rows().size(), 4u);
    for (const FileRow& row : sources.list().rows()) {
        EXPECT_FALSE(row.checked) << row.name;
    }
    EXPECT_EQ(sources.FileCountText(), "（0/4）");

    sources.ToggleSelectAll(settings);
    EXPECT_EQ(settings.Select, 1);
    EXPECT_EQ(sources.FileCountText(), "（4/4）");
}

TEST_F(MixedFolder, CheckMarksChangedByTheWindowAreCountedAgain) {
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.SetFolderText(folder.path(), settings);
    sources.list().rows()[1].checked = false;
    sources.RecountSelected();
    EXPECT_EQ(sources.CountSelected(), 3);
    EXPECT_EQ(sources.FileCountText(), "（3/4）");
}

// Typed by hand without its final '/', the text still names the folder; the Windows original
// listed the parent's files whose names began with the folder's name.
TEST(SourceList, FolderTextWithoutSlashListsThatFolder) {
    TempFolder folder;
    WriteSizedFile(folder.Path("img/inside.jpg"), 10);
    WriteSizedFile(folder.Path("img_beside.jpg"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;

    sources.SetFolderText(folder.path() + "img", settings);

    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"inside.jpg"}));
    EXPECT_EQ(settings.ImagePath, folder.path() + "img/");
    EXPECT_EQ(sources.folder_text(), folder.path() + "img");
}

TEST(SourceList, SizeTextIsTruncatedKilobytes) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {{0, "0 KB"}, {1023, "0 KB"}, {1024, "1 KB"}, {1535, "1 KB"}, {2047, "1 KB"}, {5 << 20, "5120 KB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes) + " bytes");
        TempFolder folder;
        WriteSizedFile(folder.Path("f.jpg"), c.bytes);
        AppSettings settings = SettingsWithTypes(7);
        SourceList sources;
        sources.SetFolderText(folder.path(), settings);
        ASSERT_EQ(sources.list().rows().size(), 1u);
        EXPECT_EQ(sources.list().rows()[0].size_text, c.text);
    }
}

TEST(SourceList, MissingOrEmptyFolderListsNothing) {
    TempFolder folder;
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    for (const std::string& text : {folder.path() + "nowhere/", folder.path(), std::string()}) {
        SCOPED_TRACE(text);
        sources.SetFolderText(text, settings);
        EXPECT_TRUE(sources.list().rows().empty());
        EXPECT_EQ(sources.FileCountText(), "（0/0）");
    }
}

// A named pipe with an image's name would block the batch that opens it.
TEST(SourceList, PipesAreNotListed) {
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.Path("pipe.jpg").c_str(), 0600), 0);
    WriteSizedFile(folder.Path("real.jpg"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.SetFolderText(folder.path(), settings);
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"real.jpg"}));

    sources.AddSourcePath(folder.Path("pipe.jpg"), 0, settings);
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"real.jpg"}));
}

TEST(SourceList, FilesAddedOneAfterAnotherLandAboveEarlierOnes) {
    TempFolder folder;
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    for (const char* name : {"1.jpg", "2.png", "3.bmp"}) {
        WriteSizedFile(folder.Path(name), 10);
        sources.AddSourcePath(folder.Path(name), 90, settings);
    }
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"3.bmp", "2.png", "1.jpg"}));
    EXPECT_TRUE(sources.single_file_mode());
    EXPECT_EQ(sources.folder_text(), folder.path());
    EXPECT_EQ(settings.ImagePath, folder.path());
    EXPECT_EQ(sources.list().rows()[0].rotation, 90);
    EXPECT_EQ(sources.FileCountText(), "（3/3）");
}

TEST(SourceList, AddedFileWhoseTypeIsFilteredOutIsNotListed) {
    TempFolder folder;
    WriteSizedFile(folder.Path("anim.gif"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.AddSourcePath(folder.Path("anim.gif"), 0, settings);
    EXPECT_TRUE(sources.list().rows().empty());
    EXPECT_EQ(settings.ImagePath, folder.path());
}

TEST(SourceList, AddedFolderBecomesTheSourceFolder) {
    TempFolder folder;
    WriteSizedFile(folder.Path("photos/a.jpg"), 10);
    WriteSizedFile(folder.Path("photos/b.jpg"), 10);
    WriteSizedFile(folder.Path("single.jpg"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.AddSourcePath(folder.Path("single.jpg"), 0, settings);

    sources.AddSourcePath(folder.path() + "photos", 0, settings);

    EXPECT_FALSE(sources.single_file_mode());
    EXPECT_EQ(sources.folder_text(), folder.path() + "photos/");
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST(SourceList, MissingPathIsTakenAsAFolder) {
    TempFolder folder;
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.AddSourcePath(folder.path() + "gone.jpg", 0, settings);
    EXPECT_FALSE(sources.single_file_mode());
    EXPECT_EQ(sources.folder_text(), folder.path() + "gone.jpg/");
    EXPECT_TRUE(sources.list().rows().empty());
}

TEST(SourceList, FolderBoxDoesNotListInSingleFileMode) {
    TempFolder folder;
    WriteSizedFile(folder.Path("a.jpg"), 10);
    WriteSizedFile(folder.Path("other/b.jpg"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    sources.AddSourcePath(folder.Path("a.jpg"), 0, settings);

    sources.SetFolderText(folder.path() + "other/", settings);
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg"}));
    EXPECT_EQ(settings.ImagePath, folder.path() + "other/");

    sources.UseFolder(folder.path() + "other/", settings);
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"b.jpg"}));
}

// Restores the working directory when the test ends.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& folder) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(saved_); }

  private:
    std::filesystem::path saved_;
};

TEST(SourceList, RelativePathsAreResolvedFromTheCurrentDirectory) {
    TempFolder folder;
    WriteSizedFile(folder.Path("shots/a.jpg"), 10);
    AppSettings settings = SettingsWithTypes(7);
    SourceList sources;
    {
        const std::string real = std::filesystem::canonical(folder.path()).string();
        WorkingDirectory cwd(real);
        sources.AddSourcePath("./shots/a.jpg", 0, settings);
        EXPECT_EQ(settings.ImagePath, real + "/shots/");
        sources.AddSourcePath("shots", 0, settings);
        EXPECT_EQ(sources.folder_text(), real + "/shots/");
    }
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg"}));
}

// A tree with a subfolder that cannot be read, and the output folder (relative, as OutputPath
// gives it) inside it.
TEST(SourceList, TreeListingReportsUnreadableSubfoldersAndSkipsTheOutputFolder) {
    TempFolder folder;
    for (const char* name : {"a.jpg", "locked/l.jpg", "open/o.jpg", "out/done.jpg", "out2/p.jpg"}) {
        std::filesystem::create_directories(std::filesystem::path(folder.Path(name)).parent_path());
        WriteSizedFile(folder.Path(name), 10);
    }
    AppSettings settings = SettingsWithTypes(15);
    settings.Recurse = kOn;
    settings.OutputPath = "out";
    SourceList sources;
    {
        test::UnreadableFolder locked(folder.Path("locked"));
        ASSERT_TRUE(locked.ok()) << locked.why();
        sources.UseFolder(folder.path(), settings);
    }
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg", "open/o.jpg", "out2/p.jpg"}));
    EXPECT_EQ(sources.unreadable_folders(), (std::vector<std::string>{folder.Path("locked")}));
    EXPECT_EQ(sources.FileCountText(), "（3/3）");

    // Turning Recurse off leaves the folder's own rows with their check marks and rotations; a
    // part listed in the background is appended below them.
    sources.list().rows()[0].rotation = 90;
    sources.list().rows()[0].checked = false;
    sources.DropSubfolderRows();
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg"}));
    EXPECT_TRUE(sources.unreadable_folders().empty());
    EXPECT_EQ(sources.list().rows()[0].rotation, 90);
    FolderTree part;
    part.entries = {{"sub/b.jpg", 10}, {"sub/notes.txt", 10}};
    part.unreadable = {"/x/locked"};
    EXPECT_EQ(sources.AppendListedPart(part, settings), 1);
    EXPECT_EQ(RowNames(sources), (std::vector<std::string>{"a.jpg", "sub/b.jpg"}));
    EXPECT_EQ(sources.unreadable_folders(), part.unreadable);
    EXPECT_EQ(sources.FileCountText(), "（1/2）");
}

}  // namespace
}  // namespace pelimon
