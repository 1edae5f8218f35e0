// The about box, opened from the main window's context menu.
#pragma once

#include <QDialog>

namespace pelimon {

// Program icon, version line, notice, "OK" (id1) and two links: the home page (id1052) and the
// author's e-mail address (id1053, opened as a mailto: link).
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace pelimon
