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

// One text in both languages; it reads as the current language's. Both halves are required:
// a text without its English does not compile.
class Phrase {
  public:
    consteval Phrase(std::string_view japanese, std::string_view english) : japanese_(japanese), english_(english) {
        if (japanese.empty() || english.empty()) {
            throw "a text needs its Japanese and its English";
        }
    }
    std::string_view japanese() const { return japanese_; }
    std::string_view english() const { return english_; }
    std::string_view view() const { return InEnglish() ? english_ : japanese_; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    // NUL-terminated, for C interfaces: both halves are string literals.
    const char* c_str() const { return view().data(); }

  private:
    std::string_view japanese_;
    std::string_view english_;
};

inline std::string operator+(const std::string& left, const Phrase& right) {
    return left + right.str();
}
inline std::string operator+(const Phrase& left, const std::string& right) {
    return left.str() + right;
}

}  // namespace pelimon
