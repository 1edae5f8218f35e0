// Texts of the Exif information dialog (CExifDialog) and of the Exif button's messages, kept in
// one place for translation. UTF-8.
#pragma once

namespace pelimon::exif_dialog_texts {

inline constexpr const char* kTitle = "Exif 情報";
inline constexpr const char* kNameColumn = "タグの名前";
inline constexpr const char* kValueColumn = "説明";
inline constexpr const char* kCopy = "クリップボード";
inline constexpr const char* kOk = "OK";

inline constexpr const char* kMainGroup = "▼ メイン IFD 情報";
inline constexpr const char* kSubGroup = "▼ サブ IFD 情報";
inline constexpr const char* kInteropGroup = "▼ Interoperability 情報";
inline constexpr const char* kThumbnailGroup = "▼ サムネイル IFD 情報";

inline constexpr const char* kMessageCaption = "ペリモン !!";
inline constexpr const char* kNoExif = "指定されたファイルには Exif 情報が有りません。";
inline constexpr const char* kNotJpeg = "指定されたファイルは JPG ファイルではありません。";

}  // namespace pelimon::exif_dialog_texts
