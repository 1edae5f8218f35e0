// Fuzz check: the INI reader and writer. The input is parsed as an INI document, every settings
// key is looked up, a value taken from the input is set and read back through Serialize and
// Parse; then the input is loaded as the settings file and saved twice, and the second save
// must not change the file (a save of unchanged settings is stable).
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/atomic_file.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "settings/app_settings.h"
#include "settings/ini_document.h"
#include "settings/settings_file.h"

namespace pelimon::fuzz {

namespace {

constexpr std::string_view kSections[] = {"General", "ImageSize", "Option"};
constexpr std::string_view kKeys[] = {"Confirm",  "ImagePath",  "OutputPath", "Width",    "SizeString",
                                      "EvenMenu", "PixEven",    "AddText",    "BaseName", "0-Padding",
                                      "ImageNum", "AutoRotate", "Gain"};

// What Get returns after Set(value): line breaks become blanks, nothing else changes.
std::string Flattened(std::string_view value) {
    std::string flat(value);
    std::replace_if(
        flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return flat;
}

void CheckDocument(std::string_view text) {
    IniDocument document = IniDocument::Parse(text);
    for (std::string_view section : kSections) {
        for (std::string_view key : kKeys) {
            (void)document.Get(section, key);
        }
    }
    // Parsing what Serialize wrote and serialising again changes nothing.
    const std::string once = document.Serialize();
    Expect(IniDocument::Parse(once).Serialize() == once, "Serialize(Parse(Serialize(doc))) is stable");

    // A value from the input (its last 16 bytes) survives Set, Serialize and Parse.
    const std::string_view value = text.substr(text.size() - std::min<size_t>(text.size(), 16));
    const std::string_view section = kSections[text.size() % std::size(kSections)];
    const std::string_view key = kKeys[text.size() % std::size(kKeys)];
    document.Set(section, key, value);
    const std::optional<std::string> direct = document.Get(section, key);
    Expect(direct.has_value() && *direct == Flattened(value), "Get returns what Set stored");
    const std::optional<std::string> reread = IniDocument::Parse(document.Serialize()).Get(section, key);
    Expect(reread.has_value() && *reread == Flattened(value), "a set value survives Serialize and Parse");
}

void CheckSettingsFile(std::span<const uint8_t> bytes) {
    static const ScratchFolder folder;
    AppSettings settings;
    settings.ModulePath = folder.File("pelimon");
    settings.ProfilePath = folder.Write("pelimon.ini", bytes);
    LoadSettings(settings);
    if (!SaveSettings(settings)) {
        return;
    }
    const Result<std::string> first = ReadWholeFile(settings.ProfilePath);
    AppSettings again;
    again.ModulePath = settings.ModulePath;
    again.ProfilePath = settings.ProfilePath;
    LoadSettings(again);
    Expect(static_cast<bool>(SaveSettings(again)), "a file just saved can be saved again");
    const Result<std::string> second = ReadWholeFile(settings.ProfilePath);
    Expect(first && second && first.value() == second.value(), "saving loaded settings again is stable");
}

}  // namespace

void CheckIniInput(std::span<const uint8_t> bytes) {
    CheckDocument(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    CheckSettingsFile(bytes);
}

}  // namespace pelimon::fuzz
