// Texts of the settings and parameter files' errors, kept in one place (their translations are in
// po/).
#pragma once

#include <cstddef>
#include <string>

#include "common/message.h"

namespace pelimon::settings_texts {

inline constexpr Message kParameterFileNotFound = Message("The parameter file was not found.");
inline constexpr Message kNoSettingsFile = Message("The place of the settings file is unknown.");

inline constexpr Message kPresetNameEmpty = Message("A preset needs a name.");
inline constexpr Message kPresetNameTooLong = Message("A preset name has at most %zu characters.");
inline constexpr Message kPresetNameCharacters =
    Message("A preset name cannot hold control characters or any of [ ] / \\.");
inline constexpr Message kPresetNameBlanks = Message("A preset name cannot start or end with a blank.");
inline constexpr Message kPresetNameDot = Message("A preset name cannot start with a dot.");
inline constexpr Message kPresetTwice = Message("a preset of this name comes earlier in the file");

inline std::string PresetValueDamaged(const std::string& key, const std::string& value) {
    return Format(Message("%s=%s is not a value this setting takes"), key, value);
}
inline std::string PresetIgnored(const std::string& name, const std::string& path, const std::string& why) {
    return Format(Message("The preset \"%s\" in \"%s\" is damaged and was left out: %s"), name, path, why);
}
inline std::string NoSuchPreset(const std::string& name, const std::string& path) {
    return Format(Message("There is no preset \"%s\" in \"%s\"."), name, path);
}
inline std::string ParameterFileTooLarge(const std::string& path) {
    return Format(Message("The parameter file \"%s\" is too large."), path);
}
inline std::string ParameterLineTooLong(const std::string& path, size_t line_number) {
    return Format(Message("Line %zu of the parameter file \"%s\" is too long (64 KiB at most)."), line_number, path);
}
inline std::string SettingsNotSaved(const std::string& path, const std::string& detail) {
    return Format(Message("Cannot save the settings file \"%s\".\n%s"), path, detail);
}
inline std::string SettingsNotDeleted(const std::string& path, const std::string& detail) {
    return Format(Message("Cannot delete the settings file \"%s\".\n%s"), path, detail);
}

}  // namespace pelimon::settings_texts
