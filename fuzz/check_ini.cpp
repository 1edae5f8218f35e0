// Fuzz check: the INI reader and writer. The input is parsed as an INI document, every settings
// key is looked up, a value taken from the input is set and read back through Serialize and
// Parse; then the input is loaded as the settings file, saved over and loaded again, which must
// give the same settings.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "common/atomic_file.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "settings/app_settings.h"
#include "settings/ini_document.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"

namespace pelimon::fuzz {

namespace {

// What Get returns after Set(value): line breaks become blanks, nothing else changes.
std::string Flattened(std::string_view value) {
    std::string flat(value);
    std::replace_if(
        flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return flat;
}

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

void CheckDocument(std::string_view text) {
    IniDocument document = IniDocument::Parse(text);
    const std::span<const SettingRow> rows = SettingsTable();
    for (const SettingRow& row : rows) {
        (void)document.Get(row.section, row.key);
    }
    // Parsing what Serialize wrote and serialising again keeps every section and line. A CR that
    // ended a line in the input is written before the LF and read as part of the line break, so
    // CRs are left out of the comparison.
    const std::string once = document.Serialize();
    Expect(WithoutCr(IniDocument::Parse(once).Serialize()) == WithoutCr(once),
           "Serialize(Parse(Serialize(doc))) keeps the document");

    // A value from the input (its last 16 bytes) survives Set, Serialize and Parse.
    const std::string_view value = text.substr(text.size() - std::min<size_t>(text.size(), 16));
    const std::string_view section = rows[text.size() % rows.size()].section;
    const std::string_view key = rows[(text.size() / rows.size()) % rows.size()].key;
    document.Set(section, key, value);
    const std::optional<std::string> direct = document.Get(section, key);
    Expect(direct.has_value() && *direct == Flattened(value), "Get returns what Set stored");
    const std::optional<std::string> reread = IniDocument::Parse(document.Serialize()).Get(section, key);
    Expect(reread.has_value() && *reread == Flattened(value), "a set value survives Serialize and Parse");
}

// The persisted fields of `settings` as a new settings file holds them, in its fixed key order.
std::string PersistedFields(const ScratchFolder& folder, AppSettings settings) {
    settings.ProfilePath = folder.File("new.ini");
    std::error_code error;
    std::filesystem::remove(settings.ProfilePath, error);
    Expect(static_cast<bool>(SaveSettings(settings)), "settings can be saved to a new file");
    Result<std::string> text = ReadWholeFile(settings.ProfilePath);
    Expect(text.ok(), "a saved settings file can be read");
    return std::move(text).value();
}

// Load the input as the settings file, save over it and load again: the second load must see
// the same settings as the first (a save loses nothing and adds nothing).
void CheckSettingsFile(std::span<const uint8_t> bytes) {
    static const ScratchFolder folder;
    AppSettings settings;
    settings.ModulePath = folder.File("pelimon");
    settings.ProfilePath = folder.Write("pelimon.ini", bytes);
    LoadSettings(settings);
    if (!SaveSettings(settings)) {
        return;
    }
    AppSettings reloaded;
    reloaded.ModulePath = settings.ModulePath;
    reloaded.ProfilePath = settings.ProfilePath;
    LoadSettings(reloaded);
    Expect(PersistedFields(folder, settings) == PersistedFields(folder, reloaded),
           "settings saved and loaded again are unchanged");
}

}  // namespace

void CheckIniInput(std::span<const uint8_t> bytes) {
    CheckDocument(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    CheckSettingsFile(bytes);
}

}  // namespace pelimon::fuzz
