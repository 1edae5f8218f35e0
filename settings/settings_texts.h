// Texts of the settings and parameter files' errors, kept in one place for translation.
#pragma once

#include <cstddef>
#include <string>

namespace pelimon::settings_texts {

inline constexpr const char* kParameterFileNotFound = "パラメータファイルが見つかりません。";
inline constexpr const char* kNoSettingsFile = "設定ファイルの場所が分かりません。";

inline std::string ParameterFileTooLarge(const std::string& path) {
    return "パラメータファイル「" + path + "」が大きすぎます。";
}
inline std::string ParameterLineTooLong(const std::string& path, size_t line_number) {
    return "パラメータファイル「" + path + "」の " + std::to_string(line_number) + " 行目が長すぎます（64 KiB まで）。";
}
inline std::string SettingsNotSaved(const std::string& path, const std::string& detail) {
    return "設定ファイル「" + path + "」を保存できません。\n" + detail;
}
inline std::string SettingsNotDeleted(const std::string& path, const std::string& detail) {
    return "設定ファイル「" + path + "」を削除できません。\n" + detail;
}

}  // namespace pelimon::settings_texts
