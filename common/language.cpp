#include "common/language.h"

#include <atomic>

namespace pelimon {
namespace {

std::atomic<Language> current_language{Language::kJapanese};

// "ja_JP.UTF-8" -> "ja_JP"; "C.UTF-8" -> "C"; "sr@latin" -> "sr".
std::string_view LocaleName(std::string_view value) {
    return value.substr(0, value.find_first_of(".@"));
}

bool GivesJapanese(std::string_view value) {
    const std::string_view name = LocaleName(value);
    return name == "C" || name == "POSIX" || name == "ja" || name.starts_with("ja_");
}

}  // namespace

Language LanguageFromEnvironment(const EnvLookup& env) {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::optional<std::string> value = env(variable);
        if (!value) {
            continue;
        }
        std::string_view first = *value;
        first = first.substr(0, first.find(':'));
        if (first.empty()) {
            continue;
        }
        return GivesJapanese(first) ? Language::kJapanese : Language::kEnglish;
    }
    return Language::kJapanese;
}

Language CurrentLanguage() {
    return current_language.load(std::memory_order_relaxed);
}

void SetLanguage(Language language) {
    current_language.store(language, std::memory_order_relaxed);
}

}  // namespace pelimon
