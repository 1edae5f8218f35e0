#include "settings/presets.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_table.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

using test::ReadText;
using test::TempFolder;

// Settings whose every preset field differs from its default.
AppSettings ShapedSettings() {
    AppSettings settings;
    settings.Base = kBaseCustom;
    settings.Width = 1600;
    settings.FileType = 64;
    settings.JpegComp = 77;
    settings.NameRule = kNamePrependText;
    settings.AddText = " web ";  // outer blanks survive the file
    settings.Effect = kEffectSepia;
    settings.Contrast = -20;
    settings.Flat = kOn;
    return settings;
}

TEST(Presets, RoundTripKeepsThePresetAndEverythingElseOfTheFile) {
    IniDocument document = IniDocument::Parse("; mine\n[General]\nImagePath=/p/\n[Other]\nx=1\n");
    WritePreset(PresetOf("Web 1600", ShapedSettings()), document);
    WritePreset(PresetOf("thumb", AppSettings()), document);
    WritePreset(PresetOf("WEB 1600", ShapedSettings()), document);  // replaces, any letter case
    const IniDocument reread = IniDocument::Parse(document.Serialize());
    const PresetList list = ReadPresets(reread, "f.ini");
    ASSERT_EQ(list.presets.size(), 2u);
    EXPECT_TRUE(list.notes.empty());
    EXPECT_TRUE(SameValues(*list.Find("web 1600"), PresetOf("x", ShapedSettings())));
    EXPECT_EQ(reread.Get("General", "ImagePath"), "/p/");
    EXPECT_EQ(reread.Get("Other", "x"), "1");

    // Applying touches only the preset's settings.
    AppSettings target;
    target.ImagePath = "/src/";
    target.Recurse = kOn;
    target.ImageNum = 12;
    ApplyPreset(*list.Find("WEB 1600"), target);
    EXPECT_EQ(target.AddText, " web ");
    EXPECT_EQ(target.Flat, kOn);
    EXPECT_EQ(target.ImagePath, "/src/");
    EXPECT_EQ(target.Recurse, kOn);
    EXPECT_EQ(target.ImageNum, 12);

    EXPECT_TRUE(RemovePreset("web 1600", document));
    EXPECT_FALSE(RemovePreset("web 1600", document));
    EXPECT_EQ(ReadPresets(document, "f.ini").presets.size(), 1u);
}

// Only the rows marked in the table travel: never the folders, the listing or the window's state.
TEST(Presets, HoldTheSettingsThatShapeOutputsOnly) {
    for (const SettingRow& row : SettingsTable()) {
        if (row.InPreset()) {
            EXPECT_TRUE(row.saved) << row.key;
            EXPECT_NE(row.section, "General") << row.key;
        }
    }
    EXPECT_FALSE(SettingRowOf(&AppSettings::ImageNum).InPreset());
    EXPECT_FALSE(SettingRowOf(&AppSettings::OutputPath).InPreset());
    EXPECT_TRUE(SettingRowOf(&AppSettings::Resize).InPreset());
}

TEST(Presets, NamesAreCheckedAndFolderNamesSafeEverywhere) {
    const struct {
        std::string name;
        bool valid;
        std::string folder;
    } cases[] = {
        {"web", true, "web"},
        {"Web 1600 q80", true, "Web 1600 q80"},
        {"写真・小", true, "写真・小"},
        {"a:b?c*\"<>|", true, "a_b_c_____"},
        {"ends.", true, "ends_"},
        {"", false, ""},
        {std::string(65, 'x'), false, ""},
        {std::string(64, 'x'), true, std::string(64, 'x')},
        {"a/b", false, ""},
        {"a\\b", false, ""},
        {"[x]", false, ""},
        {"tab\there", false, ""},
        {" web", false, ""},
        {"web ", false, ""},
        {".hidden", false, ""},
        {"\xff\xfe", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!PresetNameProblem(c.name).has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(PresetFolderName(c.name), c.folder);
        }
    }
}

TEST(Presets, DamagedPresetsAreLeftOutWholeWithANote) {
    const struct {
        const char* text;
        size_t kept;
        size_t notes;
    } cases[] = {
        {"[Preset:ok]\nWidth=800\n", 1, 0},
        {"[Preset:ok]\nWidth=+800\nExif=1\nAddText=\n", 1, 0},
        {"[Preset:]\nWidth=800\n", 0, 1},
        {"[Preset:a/b]\nWidth=800\n", 0, 1},
        {"[Preset:x]\nWidth=abc\n", 0, 1},
        {"[Preset:x]\nWidth=800px\n", 0, 1},
        {"[Preset:x]\nWidth=0\n", 0, 1},                           // outside its range
        {"[Preset:x]\nExif=2\n", 0, 1},                            // a switch is 0 or 1
        {"[Preset:x]\nJpegComp=99999999999\n", 0, 1},              // beyond any number
        {"[Preset:x]\nWidth=800\n[preset:X]\nWidth=900\n", 1, 1},  // the first of a name counts
        {"[Preset:good]\nWidth=800\n[Preset:bad]\nHeight=\n", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const PresetList list = ReadPresets(IniDocument::Parse(c.text), "f.ini");
        EXPECT_EQ(list.presets.size(), c.kept);
        EXPECT_EQ(list.notes.size(), c.notes);
        for (const std::string& note : list.notes) {
            EXPECT_NE(note.find("f.ini"), std::string::npos) << note;
        }
    }
    const PresetList kept = ReadPresets(IniDocument::Parse("[Preset:w]\nWidth=800\n"), "f.ini");
    EXPECT_EQ(kept.presets[0].values.Width, 800);
    EXPECT_EQ(kept.presets[0].values.Height, AppSettings().Height);  // a missing key: the default
}

TEST(Presets, StoreAndDeleteRewriteOnlyTheirSection) {
    TempFolder folder;
    const std::string path = folder.Write("pelimon.ini", "[General]\nRecurse=1\n; note\n");
    ASSERT_TRUE(StorePreset(path, PresetOf("web", ShapedSettings())).ok());
    ASSERT_TRUE(StorePreset(path, PresetOf("thumb", AppSettings())).ok());
    EXPECT_EQ(LoadPresets(path).value().presets.size(), 2u);
    ASSERT_TRUE(DeletePreset(path, "WEB").ok());
    const Status missing = DeletePreset(path, "web");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().message.find("web"), std::string::npos);
    const std::string text = ReadText(path);
    EXPECT_EQ(text.find("[Preset:web]"), std::string::npos);
    EXPECT_EQ(text.rfind("[General]\nRecurse=1\n; note\n", 0), 0u) << text;
    EXPECT_TRUE(LoadPresets(folder / "none.ini").value().presets.empty());
}

}  // namespace
}  // namespace pelimon
