#include "settings/ini_document.h"

#include <gtest/gtest.h>

namespace pelimon {
namespace {

constexpr const char* kForeignFile =
    "; written by hand\n"
    "[General]\n"
    "Confirm = 1\n"
    "Window=120,80\n"
    "\n"
    "[Other Tool]\n"
    "; its own comment\n"
    "Key=kept\n"
    "\n"
    "[Option]\n"
    "AddText=\"  padded  \"\n"
    "Gain=20\n";

TEST(IniDocument, SerializesAnUntouchedFileUnchanged) {
    EXPECT_EQ(IniDocument::Parse(kForeignFile).Serialize(), kForeignFile);
}

TEST(IniDocument, LooksUpSectionsAndKeysIgnoringCase) {
    const IniDocument document = IniDocument::Parse(kForeignFile);
    struct Row {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"General", "Confirm", "1"},
        {"GENERAL", "confirm", "1"},
        {"other tool", "KEY", "kept"},
        {"Option", "AddText", "  padded  "},  // enclosing quotes removed, inner blanks kept
        {"Option", "Missing", std::nullopt},
        {"Missing", "Confirm", std::nullopt},
        {"General", "; written by hand", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.section) + "/" + row.key);
        EXPECT_EQ(document.Get(row.section, row.key), row.expected);
    }
}

TEST(IniDocument, FirstSectionAndKeyOfAName) {
    const IniDocument document = IniDocument::Parse("[A]\nk=1\nK=2\n[a]\nk=3\n");
    EXPECT_EQ(document.Get("a", "k"), "1");
}

TEST(IniDocument, SetReplacesInPlaceAndKeepsEverythingElse) {
    IniDocument document = IniDocument::Parse(kForeignFile);
    document.Set("general", "CONFIRM", "0");
    document.Set("General", "Select", "1");
    document.Set("Option", "Gain", "15");
    EXPECT_EQ(document.Serialize(),
              "; written by hand\n"
              "[General]\n"
              "Confirm=0\n"
              "Window=120,80\n"
              "Select=1\n"
              "\n"
              "[Other Tool]\n"
              "; its own comment\n"
              "Key=kept\n"
              "\n"
              "[Option]\n"
              "AddText=\"  padded  \"\n"
              "Gain=15\n");
}

TEST(IniDocument, NewDocumentListsSectionsAndKeysInCallOrder) {
    IniDocument document;
    document.Set("General", "Confirm", "0");
    document.Set("ImageSize", "Base", "1");
    document.Set("General", "Complete", "0");
    document.Set("ImageSize", "Width", "640");
    EXPECT_EQ(document.Serialize(),
              "[General]\n"
              "Confirm=0\n"
              "Complete=0\n"
              "\n"
              "[ImageSize]\n"
              "Base=1\n"
              "Width=640\n");
}

TEST(IniDocument, ReadsCrLfLinesAndALastLineWithoutBreak) {
    const IniDocument document = IniDocument::Parse("[General]\r\nConfirm=1\r\nSelect=0");
    EXPECT_EQ(document.Get("General", "Confirm"), "1");
    EXPECT_EQ(document.Get("General", "Select"), "0");
}

TEST(IniDocument, ValuesSurviveARoundTripUnchanged) {
    const char* values[] = {"", "plain", " leading", "trailing ", "\"quoted\"", "a=b", "幅・高さ固定：640 x 480 pxel"};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        IniDocument document;
        document.Set("S", "Key", value);
        EXPECT_EQ(IniDocument::Parse(document.Serialize()).Get("S", "Key"), value);
    }
}

TEST(IniDocument, MalformedLinesAreKeptVerbatim) {
    const char* texts[] = {
        "[", "[]\n=\n", "[a\nk=1\n", "k=\"\n", "\r\n\r\n", "=value\n[S]\n;k=1\n", "\xFF\xFE[\x80]\n"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const IniDocument document = IniDocument::Parse(text);
        EXPECT_EQ(document.Get("S", "k"), std::nullopt);
        IniDocument edited = document;
        edited.Set("S", "k", "v");
        EXPECT_EQ(IniDocument::Parse(edited.Serialize()).Get("S", "k"), "v");
    }
    EXPECT_EQ(IniDocument::Parse("k=\"\n").Serialize(), "k=\"\n");
    EXPECT_EQ(IniDocument::Parse("[S]\nk=\"\n").Get("S", "k"), "\"");
}

TEST(IniDocument, LineBreakInAValueCannotInjectAKey) {
    IniDocument document;
    document.Set("General", "ImagePath", "/a\nOutputPath=/etc");
    const IniDocument reread = IniDocument::Parse(document.Serialize());
    EXPECT_EQ(reread.Get("General", "OutputPath"), std::nullopt);
    EXPECT_EQ(reread.Get("General", "ImagePath"), "/a OutputPath=/etc");
}

}  // namespace
}  // namespace pelimon
