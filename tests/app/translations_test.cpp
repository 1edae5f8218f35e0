// The translations of two texts that list names: the usage page names the same options in Japanese
// as in English, each known to the parser and the man page; the English tag catalogue
// names the same tags as the Japanese one.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/posix_option_table.h"
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

// The man page describes every option of the option table.
TEST(Translations, ManPageDescribesEveryOption) {
    const std::set<std::string> manual = LongOptions(test::ReadText(PELIMON_MAN_PAGE));
    for (const PosixOptionRow& option : PosixOptionTable()) {
        EXPECT_TRUE(manual.contains("--" + std::string(option.long_name))) << option.long_name;
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
