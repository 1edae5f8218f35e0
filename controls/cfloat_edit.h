// An edit box that takes digits only: anything else typed or pasted is dropped, so typing "12a3"
// leaves "123". Editing keys (backspace, delete, arrows) work as usual; text set by the program is
// not filtered.
#pragma once

#include <QLineEdit>

namespace pelimon {

class CFloatEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit CFloatEdit(QWidget* parent = nullptr);

  private:
    void DropNonDigits(const QString& text);
};

}  // namespace pelimon
