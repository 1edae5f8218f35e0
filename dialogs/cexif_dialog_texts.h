// Texts of the Exif information dialog (CExifDialog) and of the Exif button's messages, kept in
// one place for translation. UTF-8.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::exif_dialog_texts {

inline constexpr char kContext[] = "exif_dialog_texts";

inline constexpr GuiText kTitle{kContext, QT_TRANSLATE_NOOP("exif_dialog_texts", "Exif 情報")};
inline constexpr GuiText kNameColumn{kContext, QT_TRANSLATE_NOOP("exif_dialog_texts", "タグの名前")};
inline constexpr GuiText kValueColumn{kContext, QT_TRANSLATE_NOOP("exif_dialog_texts", "説明")};
inline constexpr GuiText kCopy{kContext, QT_TRANSLATE_NOOP("exif_dialog_texts", "クリップボード")};
inline constexpr const char* kOk = "OK";

inline constexpr GuiText kMessageCaption{kContext, QT_TRANSLATE_NOOP("exif_dialog_texts", "ペリモン !!")};
// The group rows and the messages of a file without Exif are the core's: exif/exif_texts.h.

}  // namespace pelimon::exif_dialog_texts
