#include "common/language.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

EnvLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
        const auto found = values.find(name);
        return found == values.end() || found->second.empty() ? std::nullopt : std::optional(found->second);
    };
}

// Japanese for a Japanese locale, C, POSIX or none; a language with a catalogue (here pt_BR and de)
// by its locale's full name or its language; English for any other.
TEST(LanguageRule, FirstSetVariableDecides) {
    const std::set<std::string> catalogues = {"ja", "pt_BR", "de"};
    const struct {
        std::map<std::string, std::string> env;
        std::string expected;
    } kCases[] = {
        {{}, "ja"},
        {{{"LANG", "C"}}, "ja"},
        {{{"LANG", "POSIX"}}, "ja"},
        {{{"LANG", "C.UTF-8"}}, "ja"},
        {{{"LANG", "ja_JP.UTF-8"}}, "ja"},
        {{{"LANG", "ja"}}, "ja"},
        {{{"LANG", "en_US.UTF-8"}}, "en"},
        {{{"LANG", "fr_FR@euro"}}, "en"},
        {{{"LANG", "jam_JM"}}, "en"},
        {{{"LANG", "de_AT.UTF-8@euro"}}, "de"},
        {{{"LANG", "pt_BR.UTF-8"}}, "pt_BR"},
        {{{"LANG", "pt_PT.UTF-8"}}, "en"},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, "ja"},
        {{{"LC_MESSAGES", "en_GB"}, {"LC_ALL", "C"}}, "ja"},
        {{{"LC_ALL", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:ja"}}, "en"},
        {{{"LANGUAGE", "ja:en"}, {"LANG", "en_US.UTF-8"}}, "ja"},
        {{{"LANGUAGE", "de:ja"}, {"LANG", "C"}}, "de"},
        {{{"LANGUAGE", ":"}, {"LANG", "en_US.UTF-8"}}, "en"},
        {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, "en"},
    };
    for (const auto& c : kCases) {
        std::string described;
        for (const auto& [name, value] : c.env) {
            described += name + "=" + value + " ";
        }
        SCOPED_TRACE(described);
        EXPECT_EQ(LanguageFromEnvironment(Environment(c.env),
                                          [&](const std::string& language) { return catalogues.contains(language); }),
                  c.expected);
    }
}

// A language whose catalogue is missing or damaged leaves the texts English and says why; a
// language read once is not read again.
TEST(LanguageRule, UnreadableCatalogueGivesEnglish) {
    const test::TempFolder folder;
    const std::string locale = folder / "locale";
    folder.Write("locale/zz/LC_MESSAGES/pelimon.mo", "not a catalogue");
    for (const char* language : {"zz", "yy"}) {
        SCOPED_TRACE(language);
        const Status chosen = SetLanguage(language, {locale});
        ASSERT_FALSE(chosen);
        EXPECT_NE(chosen.error().message.find(std::string(language) == "zz" ? "not a valid" : "no message catalogue"),
                  std::string::npos)
            << chosen.error().message;
        EXPECT_EQ(CurrentLanguage(), kEnglish);
        EXPECT_EQ(CurrentCatalogue(), nullptr);
    }
    ASSERT_TRUE(SetLanguage(kJapanese, {locale}));  // read by the test set-up, from another folder
    EXPECT_EQ(CurrentLanguage(), kJapanese);
    EXPECT_NE(CurrentCatalogue(), nullptr);
}

}  // namespace
}  // namespace pelimon
