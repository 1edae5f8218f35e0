// The translations of two texts that list names: the usage page lists the option table in each
// language; the English tag catalogue names the same tags as the Japanese one.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/posix_option_table.h"
#include "app/posix_run.h"
#include "common/language.h"
#include "common/text.h"
#include "exif/tag_table.h"

namespace pelimon {
namespace {

// The usage page names every option the table lists on a line, in each language, and its help
// texts start in one column, counted in display width (a Japanese character takes two), unless
// the names run beyond it.
TEST(Translations, UsagePageListsEveryOptionWithItsHelpInOneColumn) {
    for (const std::string_view language : {kEnglish, kJapanese}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(SetLanguage(language, {PELIMON_BUILD_LOCALE_DIR}));
        const std::string page = PosixUsage();
        for (const PosixOptionRow& option : PosixOptionTable()) {
            if (option.usage != OptionListing::kInTextBefore) {
                EXPECT_NE(page.find("--" + std::string(option.long_name)), std::string::npos) << option.long_name;
            }
        }
        std::istringstream lines(page);
        size_t option_lines = 0;
        for (std::string line; std::getline(lines, line);) {
            if (!line.starts_with("  -") && !line.starts_with("      --")) {
                continue;
            }
            ++option_lines;
            const size_t names = line.find_first_not_of(" ");
            const size_t help = line.find_first_not_of(" ", line.find("   ", names));
            ASSERT_NE(help, std::string::npos) << line;
            const int column = DisplayWidth(std::string_view(line).substr(0, help));
            EXPECT_TRUE(column == 28 || (column > 28 && line.substr(help - 3, 3) == "   ")) << line;
        }
        EXPECT_GE(option_lines, 25u);
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
