// Texts of the main window's preset bar (their translations are in po/).
#pragma once

#include "common/message.h"

namespace pelimon::preset_bar_texts {

inline constexpr Message kCaption = Message("Preset:");
// TRANSLATORS: the first item of the preset drop-down, before any preset is picked.
inline constexpr Message kNoneChosen = Message("(choose a preset)");
inline constexpr Message kSave = Message("Save as preset...");
inline constexpr Message kSaveTip = Message(
    "Save the current size, format, quality, naming, metadata, effect and "
    "output folder settings as a preset");
inline constexpr Message kDelete = Message("Delete preset");
inline constexpr Message kSaveCaption = Message("Save as preset");
inline constexpr Message kNamePrompt = Message("Name of the preset:");
inline constexpr Message kBadNameCaption = Message("Preset name");
inline constexpr Message kOverwriteCaption = Message("Replace preset");
inline constexpr Message kOverwriteText = Message("A preset named \"%1\" exists already. Replace it?");
inline constexpr Message kDeleteCaption = Message("Delete preset");
inline constexpr Message kDeleteText = Message("Delete the preset \"%1\"?");
inline constexpr Message kFailedCaption = Message("Presets");

}  // namespace pelimon::preset_bar_texts
