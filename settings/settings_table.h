// The settings table: one row per persisted setting of AppSettings with everything the program
// knows about it — its field, its INI section and key, its parameter-file key, its kind and range,
// and its default. The settings file (load and save, in the table's order), the parameter file,
// the defaults of AppSettings, the command line's value ranges and the dialogs' ranges all look
// settings up here; nothing else lists them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/app_settings.h"

namespace pelimon {

using NumberField = int32_t AppSettings::*;
using TextField = std::string AppSettings::*;

// What a setting holds. Files keep any number they hold, also one outside the range or one that
// names no value: the kind and range say what the controls and the command line offer.
enum class SettingKind {
    kSwitch,  // kOff or kOn
    kCode,    // one of its named values in setting_values.h, or a set of their bits
    kNumber,  // an amount in [min, max]
    kText,    // text, taken as written
    kFolder,  // a folder path; the parameter file gives it a trailing '/'
};

// How the parameter file's empty value ("KEY=") is taken; a line without a value is the same.
enum class EmptyParameter {
    kKept,       // a number setting stays as it is; a text or folder setting becomes empty
    kToDefault,  // the setting returns to its default (BASENAME: an output name needs a base)
};

struct SettingRow {
    std::variant<NumberField, TextField> field;
    std::string_view section;  // [section] of the settings file
    std::string_view key;      // its key there (letter case as a new file writes it)
    SettingKind kind;
    int32_t default_number = 0;     // number fields: the value of a first start
    std::string_view default_text;  // text fields: the value of a first start
    int32_t min = 0;                // kNumber: the range the controls and options offer
    int32_t max = 0;
    std::string_view parameter_key;  // the parameter file's key (upper case); empty: none
    EmptyParameter empty_parameter = EmptyParameter::kKept;
    bool saved = true;  // false: read from the settings file, never written (EvenMenu, PixEven)
    // False for a setting that only says which files a run takes, where the outputs go, or how the
    // run talks to the person; true for one that changes an output's pixels, bytes, name or folder
    // rule. The latter, when saved, are what a preset holds (settings/presets.h), and they make
    // the hash by which a kept output is known to be up to date (settings/output_shaping.h).
    bool shapes_output = true;

    bool InPreset() const { return shapes_output && saved; }
    bool IsNumber() const { return std::holds_alternative<NumberField>(field); }

    // The value as the settings file writes it.
    std::string Text(const AppSettings& settings) const;
    // Sets the value from a file's text: a number setting takes the text's leading decimal
    // integer (LeadingInt), a text setting the text as it is.
    void SetFromText(AppSettings& settings, std::string_view text) const;
    // Sets the row's default.
    void Reset(AppSettings& settings) const;
};

// Every persisted setting, in the order of a new settings file.
std::span<const SettingRow> SettingsTable();

// The row of a field; every persisted field has one.
const SettingRow& SettingRowOf(NumberField field);
const SettingRow& SettingRowOf(TextField field);

// The row whose parameter-file key is `key` (compared ignoring case); nullptr for none.
const SettingRow* SettingRowOfParameter(std::string_view key);

}  // namespace pelimon
