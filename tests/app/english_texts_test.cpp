// Every text the core composes has its English: rendered in English with sample (ASCII)
// arguments, none is empty or holds a Japanese character. Texts that are single Phrase constants
// are checked by the compiler (Phrase); these tables cover the functions that compose texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/posix_options.h"
#include "batch/batch_texts.h"
#include "common/language.h"
#include "exif/tag_table.h"
#include "filelist/filelist_texts.h"
#include "imagelib/imagelib_texts.h"
#include "settings/settings_texts.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

struct Rendered {
    const char* name;
    std::function<std::string()> render;
};

// Renders every text in English (the language is put back afterwards) and checks it.
void ExpectEnglish(const std::vector<Rendered>& texts) {
    ASSERT_TRUE(SetLanguage(kEnglish));
    for (const Rendered& text : texts) {
        SCOPED_TRACE(text.name);
        const std::string english = text.render();
        EXPECT_FALSE(english.empty());
        EXPECT_FALSE(HoldsJapanese(english)) << english;
    }
    ASSERT_TRUE(SetLanguage(kJapanese));
}

TEST(EnglishTexts, App) {
    ExpectEnglish({
        {"Summary", [] { return app_texts::Summary(1, "/out/", 0, 0, 0, false); }},
        {"Summary details", [] { return app_texts::Summary(3, "/out/", 1, 2, 3, true); }},
    });
}

// Caption, text and sentence of a notice, each of them required.
std::string Said(const Notice& notice) {
    if (notice.caption.empty() || notice.text.empty() || notice.sentence.empty()) {
        return {};
    }
    return notice.caption + "\n" + notice.text + "\n" + notice.sentence;
}

TEST(EnglishTexts, Batch) {
    namespace t = batch_texts;
    ExpectEnglish({
        {"NoImages", [] { return Said(t::NoImages()); }},
        {"NoSourceFolder", [] { return Said(t::NoSourceFolder("out")); }},
        {"FolderNotWritable", [] { return Said(t::FolderNotWritable("/out/")); }},
        {"FolderMissing", [] { return t::FolderMissing("/out/"); }},
        {"FolderCreated", [] { return t::FolderCreated("/out/"); }},
        {"FolderNotCreated", [] { return Said(t::FolderNotCreated("/out/", "denied")); }},
        {"Renamed source", [] { return t::Renamed("a.jpg", "a.jpg", true, "a(2).jpg"); }},
        {"Renamed output", [] { return t::Renamed("a.png", "a.jpg", false, "a(2).jpg"); }},
        {"NotAnImage", [] { return t::NotAnImage("a.jpg", "bad"); }},
        {"OutputSizeUnusable", [] { return t::OutputSizeUnusable(0, 10); }},
        {"OutputSizeTooLarge", [] { return t::OutputSizeTooLarge(99999, 99999); }},
        {"NotDecoded", [] { return t::NotDecoded("bad"); }},
        {"NotEncoded", [] { return t::NotEncoded("bad"); }},
        {"OutOfMemory", [] { return t::OutOfMemory("a.jpg"); }},
        {"NotProcessed", [] { return t::NotProcessed("a.jpg", "bad"); }},
        {"NotWritten", [] { return t::NotWritten("a.jpg", "full"); }},
        {"NotDated", [] { return t::NotDated("a.jpg", "denied"); }},
        {"NotRead", [] { return t::NotRead("/a.jpg", "gone"); }},
        {"NotARegularFile", [] { return t::NotARegularFile("/dev/null"); }},
        {"SourceTooLarge", [] { return t::SourceTooLarge("/a.jpg"); }},
    });
}

TEST(EnglishTexts, FileList) {
    ExpectEnglish({{"FileCount", [] { return filelist_texts::FileCount(2, 5); }}});
}

TEST(EnglishTexts, ImageLibrary) {
    namespace t = imagelib_texts;
    ExpectEnglish({
        {"BmpUnsupportedBits", [] { return t::BmpUnsupportedBits(64, 3); }},
        {"BmpUnsupportedHeader", [] { return t::BmpUnsupportedHeader(20); }},
        {"CannotEncodeSize", [] { return t::CannotEncodeSize("GIF", 70000, 1); }},
        {"NotReadable", [] { return t::NotReadable("I/O error"); }},
        {"Unsupported", [] { return t::Unsupported("TIFF"); }},
        {"Corrupt", [] { return t::Corrupt("bad"); }},
        {"TooLarge", [] { return t::TooLarge("1 x 1"); }},
        {"TooLargeForMemory", [] { return t::TooLargeForMemory("1 x 1", 900); }},
        {"BadSize", [] { return t::BadSize("0 x 1"); }},
        {"EncodeFailed", [] { return t::EncodeFailed("bad"); }},
    });
}

TEST(EnglishTexts, Settings) {
    namespace t = settings_texts;
    ExpectEnglish({
        {"ParameterFileTooLarge", [] { return t::ParameterFileTooLarge("/p.txt"); }},
        {"ParameterLineTooLong", [] { return t::ParameterLineTooLong("/p.txt", 3); }},
        {"SettingsNotSaved", [] { return t::SettingsNotSaved("/a.ini", "full"); }},
        {"SettingsNotDeleted", [] { return t::SettingsNotDeleted("/a.ini", "denied"); }},
    });
}

// The long options a text names ("--dry-run"; in the man page written "\-\-dry\-run").
std::set<std::string> LongOptions(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    std::set<std::string> names;
    const std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
        names.insert(it->str());
    }
    return names;
}

// Both usage pages list the same options, every one of them known to the parser and described in
// the man page.
TEST(EnglishTexts, UsagePagesAgreeWithTheParserAndTheManPage) {
    const std::set<std::string> english = LongOptions(app_texts::kPosixUsage.id());
    ASSERT_GE(english.size(), 20u);
    EXPECT_EQ(LongOptions(app_texts::kPosixUsage.str()), english);
    const std::set<std::string> manual = LongOptions(test::ReadText(PELIMON_MAN_PAGE));
    for (const std::string& name : english) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(manual.contains(name));
        const std::vector<std::string> args{name};
        const Result<PosixOptions> parsed = ParsePosixOptions(args);
        EXPECT_TRUE(parsed || parsed.error().message != Format(app_texts::kUnknownOption, name));
    }
}

// The English tag catalogue names the same tags, in the same order and scopes, as the Japanese one.
TEST(EnglishTexts, ExifTagCatalogue) {
    const TagTable& japanese = BuiltinTagTable(kJapanese);
    const TagTable& english = BuiltinTagTable(kEnglish);
    ASSERT_FALSE(japanese.numbers.empty());
    EXPECT_EQ(english.numbers, japanese.numbers);
    EXPECT_EQ(english.scopes, japanese.scopes);
    for (size_t i = 0; i < english.names.size(); ++i) {
        SCOPED_TRACE(english.numbers[i]);
        EXPECT_FALSE(english.names[i].empty());
        EXPECT_FALSE(HoldsJapanese(english.names[i])) << english.names[i];
    }
}

}  // namespace
}  // namespace pelimon
