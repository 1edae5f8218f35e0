#include "common/language.h"

#include <gtest/gtest.h>

#include <map>

namespace pelimon {
namespace {

EnvLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
        const auto found = values.find(name);
        return found == values.end() || found->second.empty() ? std::nullopt : std::optional(found->second);
    };
}

TEST(LanguageRule, FirstSetVariableDecides) {
    const struct {
        std::map<std::string, std::string> env;
        Language expected;
    } kCases[] = {
        {{}, Language::kJapanese},
        {{{"LANG", "C"}}, Language::kJapanese},
        {{{"LANG", "POSIX"}}, Language::kJapanese},
        {{{"LANG", "C.UTF-8"}}, Language::kJapanese},
        {{{"LANG", "ja_JP.UTF-8"}}, Language::kJapanese},
        {{{"LANG", "ja"}}, Language::kJapanese},
        {{{"LANG", "en_US.UTF-8"}}, Language::kEnglish},
        {{{"LANG", "de_DE@euro"}}, Language::kEnglish},
        {{{"LANG", "jam_JM"}}, Language::kEnglish},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, Language::kJapanese},
        {{{"LC_MESSAGES", "en_GB"}, {"LC_ALL", "C"}}, Language::kJapanese},
        {{{"LC_ALL", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:ja"}}, Language::kEnglish},
        {{{"LANGUAGE", "ja:en"}, {"LANG", "en_US.UTF-8"}}, Language::kJapanese},
        {{{"LANGUAGE", ":"}, {"LANG", "en_US.UTF-8"}}, Language::kEnglish},
        {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, Language::kEnglish},
    };
    for (const auto& c : kCases) {
        std::string described;
        for (const auto& [name, value] : c.env) {
            described += name + "=" + value + " ";
        }
        SCOPED_TRACE(described);
        EXPECT_EQ(LanguageFromEnvironment(Environment(c.env)), c.expected);
    }
}

TEST(LanguageRule, PhraseReadsAsTheCurrentLanguage) {
    constexpr Phrase kYes{"はい", "Yes"};
    SetLanguage(Language::kEnglish);
    EXPECT_EQ(std::string_view(kYes), "Yes");
    EXPECT_EQ(std::string("> ") + kYes, "> Yes");
    SetLanguage(Language::kJapanese);
    EXPECT_EQ(kYes.str(), "はい");
}

}  // namespace
}  // namespace pelimon
