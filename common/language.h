// The language of the program's texts (common/message.h). Japanese is the program's own language;
// English is the language of the message ids and needs no catalogue; every other language is a
// catalogue, po/<language>.po compiled to <locale folder>/<language>/LC_MESSAGES/pelimon.mo.
// The language is chosen once at start-up, before any thread starts, from the environment.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/catalogue.h"
#include "common/environment.h"
#include "common/message.h"
#include "common/result.h"

namespace pelimon {

inline constexpr std::string_view kJapanese = "ja";
inline constexpr std::string_view kEnglish = "en";

// The language the environment asks for. The first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that
// is set decides (LANGUAGE may list several languages; its first counts). A Japanese locale, C,
// POSIX (also with a codeset, such as C.UTF-8) or none at all gives Japanese; a locale whose
// language has a catalogue, by the locale's name without codeset and modifier ("pt_BR") or by its
// language ("pt"), gives that language; any other gives English. `has_catalogue` says whether a
// language has one.
std::string LanguageFromEnvironment(const EnvLookup& env,
                                    const std::function<bool(const std::string& language)>& has_catalogue);
// The same with the catalogues of CatalogueFolders().
std::string LanguageFromEnvironment(const EnvLookup& env);

// The folders that hold catalogues, searched in order: <exe folder>/../share/locale (the installed
// program, and the build tree, where the build writes the catalogues beside the program's
// folder), then the locale folder of the install prefix.
std::vector<std::string> CatalogueFolders();
// The catalogue file of `language` in `folder`.
std::string CataloguePath(const std::string& folder, std::string_view language);

// Makes `language` the language of every text from now on, reading its catalogue from the first of
// `folders` (CatalogueFolders() when none are given) that holds one. A catalogue is read once and
// kept for the life of the program: choosing its language again does not read it again. English
// needs none. When the catalogue cannot be found or read, the texts become English and the error
// says why. Not thread-safe: call before threads start (tests switch between cases).
Status SetLanguage(std::string_view language);
Status SetLanguage(std::string_view language, const std::vector<std::string>& folders);

// The language chosen last: English until SetLanguage succeeds.
const std::string& CurrentLanguage();
// The catalogue of the current language; nullptr in English.
const Catalogue* CurrentCatalogue();

inline bool InEnglish() {
    return CurrentLanguage() != kJapanese;
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
