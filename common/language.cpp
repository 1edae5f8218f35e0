#include "common/language.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

namespace pelimon {
namespace {

// A language and its catalogue. States are made once per language and never freed, so that the
// current one can be read from any thread without a lock.
struct LanguageState {
    std::string language;
    std::unique_ptr<const Catalogue> catalogue;  // null in English
};

const LanguageState& EnglishState() {
    static const LanguageState english{std::string(kEnglish), nullptr};
    return english;
}

std::atomic<const LanguageState*>& Current() {
    static std::atomic<const LanguageState*> current{&EnglishState()};
    return current;
}

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, std::unique_ptr<const LanguageState>, std::less<>>& Registry() {
    static std::map<std::string, std::unique_ptr<const LanguageState>, std::less<>> registry;
    return registry;
}

// "ja_JP.UTF-8" -> "ja_JP"; "C.UTF-8" -> "C"; "sr@latin" -> "sr".
std::string_view LocaleName(std::string_view value) {
    return value.substr(0, value.find_first_of(".@"));
}

bool IsJapaneseLocale(std::string_view name) {
    return name == "C" || name == "POSIX" || name == "ja" || name.starts_with("ja_");
}

}  // namespace

std::string LanguageFromEnvironment(const EnvLookup& env,
                                    const std::function<bool(const std::string& language)>& has_catalogue) {
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
        const std::string_view name = LocaleName(first);
        if (IsJapaneseLocale(name)) {
            return std::string(kJapanese);
        }
        for (const std::string_view candidate : {name, name.substr(0, name.find('_'))}) {
            if (!candidate.empty() && candidate != kEnglish && has_catalogue(std::string(candidate))) {
                return std::string(candidate);
            }
        }
        return std::string(kEnglish);
    }
    return std::string(kJapanese);
}

std::string LanguageFromEnvironment(const EnvLookup& env) {
    const std::vector<std::string> folders = CatalogueFolders();
    return LanguageFromEnvironment(env, [&folders](const std::string& language) {
        for (const std::string& folder : folders) {
            std::error_code error;
            if (std::filesystem::is_regular_file(CataloguePath(folder, language), error)) {
                return true;
            }
        }
        return false;
    });
}

std::vector<std::string> CatalogueFolders() {
    std::vector<std::string> folders;
    const std::filesystem::path program = CurrentModulePath();
    if (!program.empty()) {
        folders.push_back((program.parent_path() / "../share/locale").lexically_normal().string());
    }
    folders.emplace_back(PELIMON_INSTALLED_LOCALE_DIR);
    return folders;
}

std::string CataloguePath(const std::string& folder, std::string_view language) {
    return folder + "/" + std::string(language) + "/LC_MESSAGES/pelimon.mo";
}

Status SetLanguage(std::string_view language) {
    return SetLanguage(language, CatalogueFolders());
}

Status SetLanguage(std::string_view language, const std::vector<std::string>& folders) {
    if (language == kEnglish) {
        Current().store(&EnglishState());
        return {};
    }
    const std::lock_guard lock(RegistryMutex());
    auto& registry = Registry();
    if (const auto known = registry.find(language); known != registry.end()) {
        Current().store(known->second.get());
        return {};
    }
    Error failure{"no message catalogue of the language " + std::string(language) + " was found", {}};
    for (const std::string& folder : folders) {
        const std::string path = CataloguePath(folder, language);
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            continue;
        }
        Result<Catalogue> read = Catalogue::Read(path);
        if (!read) {
            failure = read.error();
            break;
        }
        auto state = std::make_unique<const LanguageState>(
            LanguageState{std::string(language), std::make_unique<const Catalogue>(std::move(read).value())});
        Current().store(state.get());
        registry.emplace(std::string(language), std::move(state));
        return {};
    }
    Current().store(&EnglishState());
    return failure;
}

const std::string& CurrentLanguage() {
    return Current().load(std::memory_order_acquire)->language;
}

const Catalogue* CurrentCatalogue() {
    return Current().load(std::memory_order_acquire)->catalogue.get();
}

}  // namespace pelimon
