// Helpers of the dialogs' layout code: texts kept as UTF-8 constants, controls named by id.
#pragma once

#include <QString>

namespace pelimon::dialogs {

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

}  // namespace pelimon::dialogs
