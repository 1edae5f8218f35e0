// Texts of the Exif information dialog (CExifDialog) and of the Exif button's messages, kept in
// one place (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::exif_dialog_texts {

inline constexpr Message kTitle = Message("Exif Information");
inline constexpr Message kNameColumn = Message("Tag");
inline constexpr Message kValueColumn = Message("Value");
inline constexpr Message kCopy = Message("Copy");
inline constexpr const char* kOk = "OK";

inline constexpr Message kMessageCaption = Message("Pelimon !!");
// The group rows and the messages of a file without Exif are the core's: exif/exif_texts.h.

}  // namespace pelimon::exif_dialog_texts
