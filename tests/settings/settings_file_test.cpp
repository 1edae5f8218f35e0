#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "imagelib/format_table.h"

#include "imagelib/format_table.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

using test::ReadText;
using test::TempFolder;

// A portable installation in the test folder: the program and its settings file side by side.
AppSettings PortableSettings(const TempFolder& folder) {
    AppSettings settings;
    settings.ModulePath = folder / "pelimon";
    settings.ProfilePath = folder / "pelimon.ini";
    return settings;
}

std::string NewFileText(const std::string& folder) {
    return "[General]\n"
           "Confirm=0\n"
           "Complete=0\n"
           "DefConfirm=0\n"
           "ImageType=" +
           std::to_string(AllImageTypes()) +
           "\n"
           "ImagePath=" +
           folder +
           "\n"
           "OutputPath=" +
           folder +
           "\n"
           "Select=1\n"
           "Recurse=0\n"
           "ThumbnailGrid=0\n"
           "ShowOutput=0\n"
           "OutputLayout=1\n"
           "OutputZoom=0\n"
           "\n"
           "[ImageSize]\n"
           "Base=1\n"
           "Width=640\n"
           "Height=480\n"
           "WidthRatio=70\n"
           "HeightRatio=70\n"
           "Method=1\n"
           "Aspect=1\n"
           "Rect=1\n"
           "SizeString=幅・高さ固定：640 x 480 pxel\n"
           "SetSize=0\n"
           "DataSize=50\n"
           "LimitQuality=20\n"
           "\n"
           "[Option]\n"
           "FileType=1\n"
           "JpegComp=90\n"
           "DragDrop=0\n"
           "BigSize=1\n"
           "Equal=1\n"
           "Exif=0\n"
           "ExifDate=0\n"
           "Resize=0\n"
           "NameRule=2\n"
           "AddText=s\n"
           "StartNum=1\n"
           "0-Padding=1\n"
           "Digit=4\n"
           "BaseName=resize\n"
           "SaveNum=1\n"
           "ImageNum=0\n"
           "Reduction=0\n"
           "Effect=0\n"
           "Contrast=0\n"
           "Gain=15\n"
           "AutoRotate=1\n"
           "ToSRGB=1\n"
           "NoLocation=0\n"
           "Flat=0\n"
           "Update=0\n"
           "FastJpeg=0\n";
}

TEST(SettingsFile, FirstStartGivesDefaultsWithTheExeFolder) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    settings.Width = 1234;
    LoadSettings(settings);
    EXPECT_EQ(settings.ImagePath, folder.path());
    EXPECT_EQ(settings.OutputPath, folder.path());
    EXPECT_EQ(settings.ImageType, AllImageTypes());  // every source type of the format table
    EXPECT_EQ(settings.Width, 640);
    EXPECT_EQ(settings.ModulePath, folder / "pelimon");
    EXPECT_FALSE(std::filesystem::exists(settings.ProfilePath));
}

TEST(SettingsFile, NewFileListsItsKeysInOrderWithoutEvenMenuAndPixEven) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    LoadSettings(settings);
    settings.EvenMenu = 1;
    settings.PixEven = 1;
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(settings.ProfilePath), NewFileText(folder.path()));
}

TEST(SettingsFile, EveryKeyIsLoadedAndSavedBack) {
    // Every key with a value that is not its default, in the order of a new file.
    const std::string custom =
        "[General]\nConfirm=1\nComplete=1\nDefConfirm=1\nImageType=15\nImagePath=/photos/2024 旅行/\nOutputPath=\n"
        "Select=0\nRecurse=1\nThumbnailGrid=1\nShowOutput=1\nOutputLayout=0\nOutputZoom=1\n\n"
        "[ImageSize]\nBase=4\nWidth=800\nHeight=600\nWidthRatio=50\nHeightRatio=40\nMethod=2\nAspect=0\nRect=4\n"
        "SizeString=幅を指定：800 pxel\nSetSize=1\nDataSize=120\nLimitQuality=30\n\n"
        "[Option]\nFileType=4\nJpegComp=75\nDragDrop=1\nBigSize=2\nEqual=0\nExif=1\nExifDate=1\nResize=1\n"
        "NameRule=1\nAddText=\" (copy)\"\nStartNum=10\n0-Padding=0\nDigit=6\nBaseName=photo\nSaveNum=1\n"
        "ImageNum=12\nReduction=2\nEffect=3\nContrast=-128\nGain=25\nAutoRotate=0\nToSRGB=0\nNoLocation=1\nFlat="
        "1\nUpdate=1\nFastJpeg=1\n";
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    folder.Write("pelimon.ini", custom);
    LoadSettings(settings);
    EXPECT_EQ(settings.AddText, " (copy)");  // quotes keep the outer blank
    EXPECT_EQ(settings.ZeroPadding, 0);
    EXPECT_EQ(settings.AutoRotate, 0);
    EXPECT_EQ(settings.ToSRGB, 0);

    // A key that Load missed would be saved with its default; one that Save missed would be absent.
    settings.ProfilePath = folder / "copy.ini";
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(settings.ProfilePath), custom);
}

TEST(SettingsFile, SectionsAndKeysAreFoundIgnoringCase) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    folder.Write("pelimon.ini", "[general]\nCONFIRM=1\n[IMAGESIZE]\nwidth = 800\n[Option]\n0-padding=0\n");
    LoadSettings(settings);
    EXPECT_EQ(settings.Confirm, 1);
    EXPECT_EQ(settings.Width, 800);
    EXPECT_EQ(settings.ZeroPadding, 0);
}

TEST(SettingsFile, IntegersReadAsLeadingDecimalsAndEmptyMeansDefault) {
    struct Row {
        const char* value;
        int32_t expected;
    };
    const Row rows[] = {{"800", 800}, {"800px", 800}, {" -5 ", -5}, {"abc", 0}, {"", 640}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        TempFolder folder;
        AppSettings settings = PortableSettings(folder);
        folder.Write("pelimon.ini", std::string("[ImageSize]\nWidth=") + row.value + "\n");
        LoadSettings(settings);
        EXPECT_EQ(settings.Width, row.expected);
    }
}

TEST(SettingsFile, Cp932FileIsReadAndForeignContentSurvivesASave) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    std::filesystem::copy_file(PELIMON_TEST_DATA_DIR "/settings/windows_cp932.ini", settings.ProfilePath);
    LoadSettings(settings);
    EXPECT_EQ(settings.Confirm, 1);
    EXPECT_EQ(settings.ImagePath, "/home/user/写真①～/");  // ① and ～ decode only as CP932
    EXPECT_EQ(settings.SizeString, "幅・高さ固定：800 x 600 pxel");
    EXPECT_EQ(settings.AddText, "_縮小");
    EXPECT_EQ(settings.Width, 800);
    EXPECT_EQ(settings.Gain, 20);
    EXPECT_EQ(settings.EvenMenu, 1);
    EXPECT_EQ(settings.PixEven, 1);

    // The size dialog may change PixEven for the run; the file keeps what the user typed.
    settings.PixEven = 0;
    settings.EvenMenu = 0;
    settings.Gain = 30;
    ASSERT_TRUE(SaveSettings(settings));
    const std::string text = ReadText(settings.ProfilePath);
    for (const char* kept : {"; 設定ファイル (Windows 版から持ってきたもの)\n[General]\nConfirm=1\n", "Window=120,80\n",
                             "[Plugins]\n; 他のツールの設定\nViewer=ギャラリー\n", "PixEven=1\nEvenMenu=1\n"}) {
        SCOPED_TRACE(kept);
        EXPECT_NE(text.find(kept), std::string::npos);
    }
    AppSettings reloaded = PortableSettings(folder);
    LoadSettings(reloaded);
    EXPECT_EQ(reloaded.Gain, 30);
    EXPECT_EQ(reloaded.PixEven, 1);
    EXPECT_EQ(reloaded.EvenMenu, 1);
    EXPECT_EQ(reloaded.AddText, "_縮小");
}

TEST(SettingsFile, ImageNumIsWrittenAsZeroWhenSaveNumIsZero) {
    struct Row {
        int32_t save_num;
        const char* expected_line;
        int32_t expected_in_memory;
    };
    const Row rows[] = {{0, "\nImageNum=0\n", 0}, {1, "\nImageNum=12\n", 12}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.save_num);
        TempFolder folder;
        AppSettings settings = PortableSettings(folder);
        LoadSettings(settings);
        settings.SaveNum = row.save_num;
        settings.ImageNum = 12;
        ASSERT_TRUE(SaveSettings(settings));
        EXPECT_EQ(settings.ImageNum, row.expected_in_memory);
        EXPECT_NE(ReadText(settings.ProfilePath).find(row.expected_line), std::string::npos);
    }
}

TEST(SettingsFile, ResetDeletesTheFileAndKeepsDefConfirm) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    LoadSettings(settings);
    settings.DefConfirm = 1;
    settings.Confirm = 1;
    settings.Complete = 1;
    settings.Width = 999;
    ASSERT_TRUE(SaveSettings(settings));

    ASSERT_TRUE(ResetSettingsToDefaults(settings));
    EXPECT_FALSE(std::filesystem::exists(settings.ProfilePath));
    EXPECT_EQ(settings.DefConfirm, 1);
    EXPECT_EQ(settings.Confirm, 0);
    EXPECT_EQ(settings.Complete, 0);
    EXPECT_EQ(settings.Width, 640);
    EXPECT_EQ(settings.ImagePath, folder.path());
    EXPECT_EQ(settings.ModulePath, folder / "pelimon");

    // Presets are not settings: they survive a reset.
    settings.Width = 999;
    ASSERT_TRUE(SaveSettings(settings));
    ASSERT_TRUE(EditSettingsFile(settings.ProfilePath,
                                 [](IniDocument& document) { document.Set("Preset:web", "Width", "800"); }));
    ASSERT_TRUE(ResetSettingsToDefaults(settings));
    EXPECT_EQ(ReadText(settings.ProfilePath), "[Preset:web]\nWidth=800\n");
}

TEST(SettingsFile, FailedSaveIsReportedNamingTheFile) {
    TempFolder folder;
    // A regular file where a folder should be: fails for root too.
    folder.Write("not-a-folder", "x");
    AppSettings settings = PortableSettings(folder);
    LoadSettings(settings);
    settings.ProfilePath = folder / "not-a-folder/pelimon/pelimon.ini";
    const Status saved = SaveSettings(settings);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().path, settings.ProfilePath);
    EXPECT_NE(saved.error().message.find(settings.ProfilePath), std::string::npos);
}

TEST(SettingsFile, SaveLeavesAFileItCannotReadAlone) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    LoadSettings(settings);
    // Far larger than any settings file: not read, so replacing it would lose what it holds.
    folder.Write("pelimon.ini", "[Other]\nKey=1\n");
    const uintmax_t size = uintmax_t{32} << 20;
    std::filesystem::resize_file(settings.ProfilePath, size);
    EXPECT_FALSE(SaveSettings(settings));
    EXPECT_EQ(std::filesystem::file_size(settings.ProfilePath), size);
}

TEST(SettingsFile, SaveCreatesTheSettingsFolder) {
    TempFolder folder;
    AppSettings settings = PortableSettings(folder);
    settings.ProfilePath = folder / "config/pelimon/pelimon.ini";
    LoadSettings(settings);
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(std::filesystem::is_regular_file(settings.ProfilePath));
}

TEST(SettingsFile, SaveThroughASymlinkKeepsTheLink) {
    TempFolder folder;
    const std::string real = folder.Write("dotfiles.ini", "[Mine]\nKeep=1\n");
    AppSettings settings = PortableSettings(folder);
    std::filesystem::create_symlink(real, settings.ProfilePath);
    LoadSettings(settings);
    settings.Width = 321;
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(std::filesystem::is_symlink(settings.ProfilePath));
    const std::string text = ReadText(real);
    EXPECT_NE(text.find("[Mine]\nKeep=1\n"), std::string::npos);
    EXPECT_NE(text.find("Width=321\n"), std::string::npos);
}

}  // namespace
}  // namespace pelimon
