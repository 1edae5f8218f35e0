// Texts of the settings and parameter files' errors, kept in one place (their translations are in
// po/).
#pragma once

#include <cstddef>
#include <string>

#include "common/message.h"

namespace pelimon::settings_texts {

inline constexpr Message kParameterFileNotFound = Message("The parameter file was not found.");
inline constexpr Message kNoSettingsFile = Message("The place of the settings file is unknown.");

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
