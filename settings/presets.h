// Presets: named sets of the settings that shape the outputs (the settings table's rows of
// SettingRow::InPreset), kept in the settings file, one section "[Preset:NAME]" each, with the
// keys those rows have in their own sections. A preset read from a file is checked whole: one whose name or
// any of whose values is damaged is left out with a note, never half applied.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "settings/app_settings.h"
#include "settings/ini_document.h"

namespace pelimon {

// The longest preset name, in characters.
inline constexpr size_t kMaxPresetNameLength = 64;

struct Preset {
    std::string name;
    AppSettings values;  // only the preset rows' fields mean anything
};

struct PresetList {
    std::vector<Preset> presets;     // in file order
    std::vector<std::string> notes;  // one per preset left out, saying which and why

    // The preset named `name` (compared ignoring ASCII case, as sections are); nullptr for none.
    const Preset* Find(std::string_view name) const;
};

// Why `name` cannot name a preset (empty, longer than kMaxPresetNameLength characters, a control
// character or one of [ ] / \, a blank at either end, a leading dot); nullopt when it can.
std::optional<std::string> PresetNameProblem(std::string_view name);

// The folder a preset's outputs go into in a run of several presets: its name, with the characters
// that other systems' file systems refuse (: * ? " < > |, and a trailing dot) replaced by '_', so
// that the tree can be copied to a memory card.
std::string PresetFolderName(std::string_view name);

// The preset `name` holding the preset rows of `settings`.
Preset PresetOf(std::string name, const AppSettings& settings);

// Puts the preset's values on `settings`; the settings no preset holds stay.
void ApplyPreset(const Preset& preset, AppSettings& settings);

// True when both presets hold the same values (names aside).
bool SameValues(const Preset& a, const Preset& b);

// Every preset of a document; `origin` names the file in the notes. A key that is missing takes
// its setting's default; a number that is not a whole number, a switch other than 0 or 1, or a
// number outside its setting's range damages the preset.
PresetList ReadPresets(const IniDocument& document, const std::string& origin);

// Replaces the document's preset of that name (any letter case) by `preset`, or appends it.
void WritePreset(const Preset& preset, IniDocument& document);

// Removes the preset `name`; false when the document has none of that name.
bool RemovePreset(std::string_view name, IniDocument& document);

// The presets of the settings file at `path`; none when there is no file. Fails when the file
// exists but cannot be read.
Result<PresetList> LoadPresets(const std::string& path);

// Stores `preset` into the settings file at `path` (replacing one of that name), keeping the rest
// of the file; written atomically.
Status StorePreset(const std::string& path, const Preset& preset);

// Removes the preset `name` from the settings file at `path`; fails when it has none.
Status DeletePreset(const std::string& path, std::string_view name);

}  // namespace pelimon
