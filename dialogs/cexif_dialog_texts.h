// Texts of the Exif information dialog (CExifDialog) and of the Exif button's messages, kept in
// one place for translation. UTF-8.
#pragma once

namespace pelimon::exif_dialog_texts {

inline constexpr const char* kTitle = "Exif 情報";
inline constexpr const char* kNameColumn = "タグの名前";
inline constexpr const char* kValueColumn = "説明";
inline constexpr const char* kCopy = "クリップボード";
inline constexpr const char* kOk = "OK";

inline constexpr const char* kMessageCaption = "ペリモン !!";
// The group rows and the messages of a file without Exif are the core's: exif/exif_texts.h.

}  // namespace pelimon::exif_dialog_texts
