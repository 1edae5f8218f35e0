// Texts of the settings and parameter files' errors, in Japanese and English, kept in one place.
#pragma once

#include <cstddef>
#include <string>

#include "common/language.h"

namespace pelimon::settings_texts {

inline constexpr Phrase kParameterFileNotFound{"パラメータファイルが見つかりません。",
                                               "The parameter file was not found."};
inline constexpr Phrase kNoSettingsFile{"設定ファイルの場所が分かりません。",
                                        "The place of the settings file is unknown."};

inline std::string ParameterFileTooLarge(const std::string& path) {
    if (InEnglish()) {
        return "The parameter file \"" + path + "\" is too large.";
    }
    return "パラメータファイル「" + path + "」が大きすぎます。";
}
inline std::string ParameterLineTooLong(const std::string& path, size_t line_number) {
    if (InEnglish()) {
        return "Line " + std::to_string(line_number) + " of the parameter file \"" + path +
               "\" is too long (64 KiB at most).";
    }
    return "パラメータファイル「" + path + "」の " + std::to_string(line_number) + " 行目が長すぎます（64 KiB まで）。";
}
inline std::string SettingsNotSaved(const std::string& path, const std::string& detail) {
    if (InEnglish()) {
        return "Cannot save the settings file \"" + path + "\".\n" + detail;
    }
    return "設定ファイル「" + path + "」を保存できません。\n" + detail;
}
inline std::string SettingsNotDeleted(const std::string& path, const std::string& detail) {
    if (InEnglish()) {
        return "Cannot delete the settings file \"" + path + "\".\n" + detail;
    }
    return "設定ファイル「" + path + "」を削除できません。\n" + detail;
}

}  // namespace pelimon::settings_texts
