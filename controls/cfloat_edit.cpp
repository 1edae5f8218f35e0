#include "controls/cfloat_edit.h"

namespace pelimon {

CFloatEdit::CFloatEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &CFloatEdit::DropNonDigits);
}

void CFloatEdit::DropNonDigits(const QString& text) {
    QString digits;
    int cursor = cursorPosition();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits.append(c);
        } else if (i < cursor) {
            --cursor;  // keep the caret behind the same digits
        }
    }
    if (digits != text) {
        setText(digits);
        setCursorPosition(cursor);
    }
}

}  // namespace pelimon
