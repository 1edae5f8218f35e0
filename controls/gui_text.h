// A text of the window, declared once in a *_texts.h header and translated where it becomes a
// QString (widget_text::Tr). The Japanese is the program's own text; res/i18n/pelimon_en.ts holds
// its English. Each header names its Qt Linguist context once and marks every text for lupdate:
//   inline constexpr char kContext[] = "main_texts";
//   inline constexpr GuiText kRun{kContext, QT_TRANSLATE_NOOP("main_texts", "実行")};
// The two context names must agree (the translation tests check it).
#pragma once

#include <QtGlobal>  // QT_TRANSLATE_NOOP only: the struct itself needs no Qt

namespace pelimon {

struct GuiText {
    const char* context;  // the Qt Linguist context: the header's kContext
    const char* source;   // the Japanese text, UTF-8; the key of its translation
};

}  // namespace pelimon
