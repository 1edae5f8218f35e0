// Texts of the progress dialog (CProcMsg), kept in one place; their English is in
// res/i18n/pelimon_en.ts.
#pragma once

#include "controls/gui_text.h"

namespace pelimon::progress_texts {

inline constexpr char kContext[] = "progress_texts";

inline constexpr GuiText kTitle{kContext, QT_TRANSLATE_NOOP("progress_texts", "画像生成中")};
inline constexpr GuiText kText{kContext, QT_TRANSLATE_NOOP("progress_texts", "画像生成中です。しばらくお待ち下さい。")};
// The percentage: %1 is the number with one decimal, right-aligned in five columns (" 42.0").
inline constexpr GuiText kPercentFormat{kContext, QT_TRANSLATE_NOOP("progress_texts", "%1 % 完了")};
inline constexpr GuiText kInitial{kContext, QT_TRANSLATE_NOOP("progress_texts", "0% 完了")};
inline constexpr GuiText kCancel{kContext, QT_TRANSLATE_NOOP("progress_texts", "キャンセル")};
inline constexpr char kCountFormat[] = "%1 / %2";

}  // namespace pelimon::progress_texts
