#include "controls/screen_fit.h"

#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace pelimon {

FittingScrollArea::FittingScrollArea(QWidget* page, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);  // the page's controls take the focus, not the area
    setWidgetResizable(true);
    setWidget(page);
    page->installEventFilter(this);
}

bool FittingScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest && window()->isVisible() &&
        !window()->isMaximized() && !window()->isFullScreen()) {
        const QSize hint = sizeHint();
        const bool was_whole =
            !shown_hint_.isValid() || (width() >= shown_hint_.width() && height() >= shown_hint_.height());
        const QSize missing = (hint - size()).expandedTo(QSize(0, 0));
        if (was_whole && !missing.isNull() && window()->screen() != nullptr) {
            const QSize room =
                window()->screen()->availableGeometry().size() - (window()->frameGeometry().size() - window()->size());
            window()->resize((window()->size() + missing).boundedTo(room));
        }
        shown_hint_ = hint;
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize FittingScrollArea::sizeHint() const {
    if (widget() == nullptr) {
        return QScrollArea::sizeHint();
    }
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame, frame);
}

void FitToScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    // The frame is known once the window manager has framed the window; before that, allow for a
    // title bar of about two lines of text.
    QMargins frame(window.geometry().left() - window.frameGeometry().left(),
                   window.geometry().top() - window.frameGeometry().top(),
                   window.frameGeometry().right() - window.geometry().right(),
                   window.frameGeometry().bottom() - window.geometry().bottom());
    if (frame.isNull()) {
        frame = QMargins(0, 2 * window.fontMetrics().height(), 0, 0);
    }
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = window.sizeHint().boundedTo(room).expandedTo(window.minimumSizeHint());
    if (size != window.size()) {
        window.resize(size);
    }
    QRect outer = QRect(window.pos(), size).marginsAdded(frame);
    outer.moveLeft(
        std::clamp(outer.left(), available.left(), std::max(available.left(), available.right() - outer.width() + 1)));
    outer.moveTop(
        std::clamp(outer.top(), available.top(), std::max(available.top(), available.bottom() - outer.height() + 1)));
    if (outer.topLeft() != window.pos()) {
        window.move(outer.topLeft());
    }
}

}  // namespace pelimon
