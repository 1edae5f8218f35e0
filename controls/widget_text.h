// Helpers of the windows' and dialogs' layout code: texts kept as UTF-8 constants in the
// *_texts.h headers, and controls named by the id the tests find them by.
#pragma once

#include <QString>

namespace pelimon::widget_text {

// A UTF-8 text constant of a *_texts.h header as a QString.
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
