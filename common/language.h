// The language of the program's texts. Japanese is the program's own; English translates every
// text. The language is chosen once at start-up, before any thread starts, from the environment:
// the first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set decides (LANGUAGE may list
// several languages; its first counts). A Japanese locale, C, POSIX (also with a codeset, such as
// C.UTF-8) or none at all gives Japanese; any other language gives English.
#pragma once

#include <string>
#include <string_view>

#include "common/environment.h"

namespace pelimon {

enum class Language { kJapanese, kEnglish };

Language LanguageFromEnvironment(const EnvLookup& env);

// The language every text is shown in; Japanese until SetLanguage is called.
Language CurrentLanguage();
void SetLanguage(Language language);
inline bool InEnglish() {
    return CurrentLanguage() == Language::kEnglish;
}

// True when `text` holds a Japanese character: a UTF-8 sequence of U+3000..U+FFFF (kana, kanji,
// full-width forms and punctuation), whose lead byte is 0xE3..0xEF.
constexpr bool HoldsJapanese(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE3 && byte <= 0xEF) {
            return true;
        }
    }
    return false;
}

// One text in both languages; it reads as the current language's. Both halves are required and
// the English holds no Japanese: a text without its English does not compile.
class Phrase {
  public:
    consteval Phrase(std::string_view japanese, std::string_view english) : japanese_(japanese), english_(english) {
        if (japanese.empty() || english.empty()) {
            throw "a text needs its Japanese and its English";
        }
        if (HoldsJapanese(english)) {
            throw "a text's English holds Japanese characters";
        }
    }
    constexpr std::string_view japanese() const { return japanese_; }
    constexpr std::string_view english() const { return english_; }
    std::string_view view() const { return InEnglish() ? english_ : japanese_; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    // NUL-terminated, for C interfaces: both halves are string literals.
    const char* c_str() const { return view().data(); }

  private:
    std::string_view japanese_;
    std::string_view english_;
};

// A printf format in both languages. Both halves must take the same conversions in the same order
// ("%s", "%d", "%02d" ...), so that one argument list fits either; a translation that differs does
// not compile.
class FormatPhrase : public Phrase {
  public:
    consteval FormatPhrase(std::string_view japanese, std::string_view english) : Phrase(japanese, english) {
        if (!SameConversions(japanese, english)) {
            throw "a format's Japanese and English need the same conversions";
        }
    }

  private:
    // The next conversion at or after `at` ("%02d"; "%%" is skipped), advancing `at` past it;
    // empty at the end.
    static consteval std::string_view NextConversion(std::string_view format, size_t& at) {
        while (at < format.size()) {
            if (format[at] != '%') {
                ++at;
                continue;
            }
            const size_t start = at++;
            if (at < format.size() && format[at] == '%') {
                ++at;
                continue;
            }
            while (at < format.size() &&
                   std::string_view("-+ #0123456789.hlzjt").find(format[at]) != std::string_view::npos) {
                ++at;
            }
            at = at < format.size() ? at + 1 : at;
            return format.substr(start, at - start);
        }
        return {};
    }
    static consteval bool SameConversions(std::string_view a, std::string_view b) {
        size_t at_a = 0;
        size_t at_b = 0;
        for (;;) {
            const std::string_view next_a = NextConversion(a, at_a);
            const std::string_view next_b = NextConversion(b, at_b);
            if (next_a != next_b) {
                return false;
            }
            if (next_a.empty()) {
                return true;
            }
        }
    }
};

inline std::string operator+(const std::string& left, const Phrase& right) {
    return left + right.str();
}
inline std::string operator+(const Phrase& left, const std::string& right) {
    return left.str() + right;
}

}  // namespace pelimon
