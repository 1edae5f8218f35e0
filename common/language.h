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

}  // namespace pelimon
