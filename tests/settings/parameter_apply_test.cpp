#include <gtest/gtest.h>

#include "settings/parameter_file.h"
#include "tests/settings/all_fields.h"

namespace pelimon {
namespace {

AppSettings Applied(std::vector<std::string> lines, AppSettings settings = {}) {
    settings.Select = 0;
    ApplyParameterLines(lines, settings);
    return settings;
}

TEST(ApplyParameterLines, EveryIntegerKeySetsItsSetting) {
    struct Row {
        const char* line;
        int32_t AppSettings::*field;
        int32_t expected;
    };
    const Row rows[] = {
        {"IMAGETYPE=15", &AppSettings::ImageType, 15}, {"RISEZFOLDER=1", &AppSettings::Resize, 1},
        {"ASPECT=0", &AppSettings::Aspect, 0},         {"RECT=4", &AppSettings::Rect, 4},
        {"METHOD=2", &AppSettings::Method, 2},         {"WIDTH=800", &AppSettings::Width, 800},
        {"HEIGHT=600", &AppSettings::Height, 600},     {"WRATIO=50", &AppSettings::WidthRatio, 50},
        {"HRATIO=40", &AppSettings::HeightRatio, 40},  {"SETSIZE=1", &AppSettings::SetSize, 1},
        {"DATASIZE=120", &AppSettings::DataSize, 120}, {"LIMITQUALITY=30", &AppSettings::LimitQuality, 30},
        {"JPEGCOMP=75", &AppSettings::JpegComp, 75},   {"BIGSIZE=2", &AppSettings::BigSize, 2},
        {"EQUALSIZE=0", &AppSettings::Equal, 0},       {"EXIF=1", &AppSettings::Exif, 1},
        {"EXDATE=1", &AppSettings::ExifDate, 1},       {"FILETYPE=4", &AppSettings::FileType, 4},
        {"NAMERULE=1", &AppSettings::NameRule, 1},     {"STARTNUM=10", &AppSettings::StartNum, 10},
        {"SAVENUM=0", &AppSettings::SaveNum, 0},       {"0-PADDING=0", &AppSettings::ZeroPadding, 0},
        {"DIGIT=6", &AppSettings::Digit, 6},           {"RESIZE=2", &AppSettings::Reduction, 2},
        {"EFFECT=3", &AppSettings::Effect, 3},         {"SHARPGAIN=25", &AppSettings::Gain, 25},
        {"CONTRAST=-20", &AppSettings::Contrast, -20}, {"AUTOROTATE=0", &AppSettings::AutoRotate, 0},
        {"TOSRGB=0", &AppSettings::ToSRGB, 0},         {"IMAGETYPE=48", &AppSettings::ImageType, 48},
        {"FILETYPE=128", &AppSettings::FileType, 128}, {"FILETYPE=64", &AppSettings::FileType, 64},
        {"width = 800px", &AppSettings::Width, 800},   {"Width=abc", &AppSettings::Width, 0},
        {"NOLOCATION=1", &AppSettings::NoLocation, 1}, {"WIDTH==320", &AppSettings::Width, 320},
        {"WIDTH = = 320", &AppSettings::Width, 0},     {"UPDATE=1", &AppSettings::Update, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const AppSettings settings = Applied({row.line});
        EXPECT_EQ(settings.*row.field, row.expected);
        EXPECT_EQ(settings.Select, 1);
    }
}

TEST(ApplyParameterLines, TextAndFolderKeys) {
    struct Row {
        const char* line;
        std::string AppSettings::*field;
        std::string expected;
    };
    const Row rows[] = {
        {"IMAGEPATH=/photos", &AppSettings::ImagePath, "/photos/"},
        {"imagepath = /photos/", &AppSettings::ImagePath, "/photos/"},
        {"OUTPUTPATH=out", &AppSettings::OutputPath, "out/"},
        {"ADDTEXT=_small", &AppSettings::AddText, "_small"},
        {"ADDTEXT=  _s  ", &AppSettings::AddText, "_s"},
        {"ADDTEXT=", &AppSettings::AddText, ""},
        {"ADDTEXT", &AppSettings::AddText, ""},
        {"BASENAME=photo", &AppSettings::BaseName, "photo"},
        {"BASENAME=", &AppSettings::BaseName, "resize"},
        {"ADDTEXT=a=b", &AppSettings::AddText, "a=b"},
        {"ADDTEXT==x", &AppSettings::AddText, "x"},
        {"ADDTEXT === x = y ", &AppSettings::AddText, "x = y"},
        {"ADDTEXT= =x", &AppSettings::AddText, "=x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(Applied({row.line}).*row.field, row.expected);
    }
}

TEST(ApplyParameterLines, KeyIsTheTextBeforeTheFirstEquals) {
    const AppSettings defaults;
    const AppSettings output = Applied({"OUTPUTPATH=/a/IMAGEPATH/b"});
    EXPECT_EQ(output.OutputPath, "/a/IMAGEPATH/b/");
    EXPECT_EQ(output.ImagePath, defaults.ImagePath);

    AppSettings with_exif;
    with_exif.Exif = 1;
    const AppSettings add_text = Applied({"ADDTEXT=_exif"}, with_exif);
    EXPECT_EQ(add_text.AddText, "_exif");
    EXPECT_EQ(add_text.Exif, 1);

    // A key that only contains a table key is not that key.
    EXPECT_EQ(Applied({"MYWIDTH=5"}).Width, defaults.Width);
}

TEST(ApplyParameterLines, HashDoesNotEatTheDigitBeforeIt) {
    EXPECT_EQ(Applied({"WIDTH=800# wide"}).Width, 800);
}

TEST(ApplyParameterLines, IntegerKeyWithoutValueLeavesItsSetting) {
    for (const char* line : {"WIDTH", "WIDTH=", "WIDTH =   ", "WIDTH= # none"}) {
        SCOPED_TRACE(line);
        const AppSettings settings = Applied({line});
        EXPECT_EQ(settings.Width, 640);
        EXPECT_EQ(settings.Select, 1);
    }
}

TEST(ApplyParameterLines, EmptyFolderStaysEmptyInsteadOfTheRootFolder) {
    const AppSettings settings = Applied({"OUTPUTPATH=", "IMAGEPATH"});
    EXPECT_EQ(settings.OutputPath, "");
    EXPECT_EQ(settings.ImagePath, "");
}

TEST(ApplyParameterLines, ListLineAloneOnlySetsSelect) {
    AppSettings expected;
    expected.Select = 1;
    EXPECT_EQ(test::AllFields(Applied({"LIST=<<"})), test::AllFields(expected));
}

TEST(ApplyParameterLines, NoLinesChangeNothing) {
    AppSettings before;
    before.ImagePath = "/photos/";
    before.OutputPath = "out/";
    before.Width = 1024;
    before.AddText = "_x";
    AppSettings expected = before;
    expected.Select = 0;  // Applied() clears it before applying
    EXPECT_EQ(test::AllFields(Applied({}, before)), test::AllFields(expected));
}

TEST(SplitNameEntry, NameAndRotation) {
    struct Row {
        const char* entry;
        const char* name;
        int32_t rotation;
    };
    const Row rows[] = {
        {"IMG_0001.JPG", "IMG_0001.JPG", 0},
        {"IMG_0001.JPG,90", "IMG_0001.JPG", 90},
        {"IMG_0001.JPG , 90", "IMG_0001.JPG", 90},
        {"  写真.jpg ,\t270 ", "写真.jpg", 270},
        {"a.jpg,90,180", "a.jpg", 90},
        {"a.jpg,", "a.jpg", 0},
        {"a.jpg,abc", "a.jpg", 0},
        {"a.jpg,-90", "a.jpg", -90},
        {"my photo.jpg", "my photo.jpg", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        const NameEntry entry = SplitNameEntry(row.entry);
        EXPECT_EQ(entry.name, row.name);
        EXPECT_EQ(entry.rotation, row.rotation);
    }
}

}  // namespace
}  // namespace pelimon
