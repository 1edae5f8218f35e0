// Helpers of the windows' and dialogs' layout code: texts of the *_texts.h headers in the window's
// language, and controls named by the id the tests find them by.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

#include "controls/gui_text.h"

namespace pelimon::widget_text {

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
inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
