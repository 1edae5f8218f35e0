// Windows that fit any screen: a scroll area that asks for its whole page (so a window opens at its
// natural size where there is room) but lets the window shrink below it, and a helper that keeps a
// window inside the free area of its screen.
#pragma once

#include <QScrollArea>

namespace pelimon {

// A frameless, resizable scroll area around `page` (which it takes over). Its size hint is the
// page's, not bounded as QScrollArea's is; its minimum is small, so the window may be smaller
// than the page and the page then scrolls.
class FittingScrollArea : public QScrollArea {
    Q_OBJECT
  public:
    explicit FittingScrollArea(QWidget* page, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    // A page that grows after its window was shown whole (a list that fills, a text that arrives)
    // grows the window with it, as far as the screen has room; a window the person made smaller
    // than its page keeps its size.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSize shown_hint_;  // the hint the window last had room for
};

// Gives `window` (a top-level widget, when it is first shown) its natural size (its size hint, which
// Qt would otherwise bound to two thirds of the screen), shrunk to the available area of its screen
// with title bar and frame, and moves it so that it lies inside that area.
void FitToScreen(QWidget& window);

}  // namespace pelimon
