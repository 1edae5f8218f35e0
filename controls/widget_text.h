// Helpers of the windows' and dialogs' layout code: texts of the *_texts.h headers in the window's
// language, and controls named by the id the tests find them by.
#pragma once

#include <QCoreApplication>
#include <QString>

#include "common/message.h"
#include "controls/gui_text.h"

namespace pelimon::widget_text {

// The translation context of the window's texts: the translator that gui/qt_translations.h
// installs answers it from the program's catalogue (a message's context is Qt's disambiguation).
inline constexpr char kWindowTextContext[] = "pelimon";

// A text of the window in the window's language, as the installed translator gives it.
inline QString Tr(const Message& text) {
    return QCoreApplication::translate(kWindowTextContext, text.id(), text.context());
}

// A text of the window in the window's language: its English from the installed translator
// (res/i18n/pelimon_en.qm) in an English window, else the Japanese text itself.
inline QString Tr(GuiText text) {
    return QCoreApplication::translate(text.context, text.source);
}

// A UTF-8 text that needs no translation (names of formats, addresses) or that is already in the
// window's language (the core's texts) as a QString.
inline QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Gives `widget` the object name `id` (such as "id1004") by which the tests find it; returns it.
template <class W>
W* Named(W* widget, const char* id) {
    widget->setObjectName(QString::fromLatin1(id));
    return widget;
}

// The same with a control id: 1004 names the widget "id1004".
template <class W>
W* Named(W* widget, int id) {
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

}  // namespace pelimon::widget_text
