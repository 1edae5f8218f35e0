// The help page in a window of the program's own, for desktops where no web browser opens it.
#pragma once

#include <QDialog>

class QTextBrowser;
class QUrl;

namespace pelimon {

// A resizable, non-modal window that shows the local HTML page `url` (file:// URL, its fragment
// names the anchor to scroll to). Links inside the page are followed in the window; outside links
// go to the desktop.
class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    HelpWindow(const QUrl& url, QWidget* parent);

    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

// Opens the help page `url` in the desktop's browser, or, when none opens it, in a HelpWindow
// owned by `parent` (deleted when closed).
void OpenHelp(const QUrl& url, QWidget* parent);

}  // namespace pelimon
