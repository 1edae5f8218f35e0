// Helpers of the windows' and dialogs' layout code: texts of the *_texts.h headers in the window's
// language, and controls named by the id the tests find them by.
#pragma once

#include <QString>
#include <string_view>

#include "common/message.h"

namespace pelimon::widget_text {

// The translation context of the window's texts. Every application object gets, as it is made, a
// translator that answers this context (and no other) from the program's current catalogue
// (common/language.h); a message's context is Qt's disambiguation.
inline constexpr char kWindowTextContext[] = "pelimon";

// A text of the window in the window's language, as the application's translators give it.
QString Tr(const Message& text);

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
