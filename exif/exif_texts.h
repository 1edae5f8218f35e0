// Texts of the Exif value formatting and of the shooting-date step, kept in one place for
// translation. The words of the enumerated tag values are in format_enums.cpp, a table per tag.
#pragma once

#include <string_view>

namespace pelimon::exif_texts {

inline constexpr const char* kUnknown = "不明";  // a tag or value the catalogue does not know
inline constexpr const char* kComponentsRgb = "RGB 形式";
inline constexpr const char* kComponentsYcbcr = "YCbCr 形式";
inline constexpr const char* kDigitalCamera = "デジタルカメラ";
inline constexpr const char* kDirectlyPhotographed = "直接撮影";
// Units put after a number ("1/125 (秒)", "1024 バイト").
inline constexpr const char* kSecondsUnit = "(秒)";
inline constexpr const char* kBytesUnit = "バイト";
// The Exif list's group rows, and why a file shows none.
inline constexpr const char* kMainGroup = "▼ メイン IFD 情報";
inline constexpr const char* kSubGroup = "▼ サブ IFD 情報";
inline constexpr const char* kInteropGroup = "▼ Interoperability 情報";
inline constexpr const char* kThumbnailGroup = "▼ サムネイル IFD 情報";
inline constexpr const char* kNoExif = "指定されたファイルには Exif 情報が有りません。";
inline constexpr const char* kNotJpeg = "指定されたファイルは JPG ファイルではありません。";

inline constexpr const char* kShotDateNotApplied = "ファイルの更新日を撮影日にできませんでした: ";

}  // namespace pelimon::exif_texts
