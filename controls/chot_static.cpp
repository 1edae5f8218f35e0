#include "controls/chot_static.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace pelimon {

namespace {
const QColor kNormalColour(0, 0, 255);
const QColor kVisitedColour(128, 0, 128);
const QColor kHoverColour(255, 0, 0);
}  // namespace

CHotStatic::CHotStatic(QWidget* parent) : QLabel(parent) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setTextInteractionFlags(Qt::NoTextInteraction);
    ApplyColour();
}

void CHotStatic::SetLink(const QString& target) {
    link_ = target;
}

void CHotStatic::enterEvent(QEnterEvent* event) {
    hover_ = true;
    ApplyColour();
    QLabel::enterEvent(event);
}

void CHotStatic::leaveEvent(QEvent* event) {
    hover_ = false;
    ApplyColour();
    QLabel::leaveEvent(event);
}

void CHotStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    if (link_.isEmpty()) {
        link_ = text();
    }
    if (QDesktopServices::openUrl(QUrl::fromUserInput(link_))) {
        visited_ = true;
        ApplyColour();
    } else {
        QApplication::beep();
    }
}

void CHotStatic::ApplyColour() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, hover_ ? kHoverColour : (visited_ ? kVisitedColour : kNormalColour));
    setPalette(colours);
}

}  // namespace pelimon
