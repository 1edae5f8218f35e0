// The translations of two texts that list names: the usage page names the same options in Japanese
// as in English, each known to the parser and the man page; the English tag catalogue
// names the same tags as the Japanese one.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/posix_options.h"
#include "common/language.h"
#include "exif/tag_table.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

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

// The usage page lists the same options in both languages, every one of them known to the parser
// and described in the man page.
TEST(Translations, UsagePagesAgreeWithTheParserAndTheManPage) {
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
TEST(Translations, ExifTagCatalogue) {
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
