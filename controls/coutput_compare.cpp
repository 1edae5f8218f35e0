#include "controls/coutput_compare.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/controls_texts.h"
#include "controls/cpreview.h"
#include "controls/widget_text.h"

namespace pelimon {

namespace {

constexpr int kDividerGrip = 8;  // pixels either side of the divider that grab it
constexpr int kGap = 4;          // between the two pictures side by side

QRect Centred(QSize size, const QRect& area, QPoint offset) {
    return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2) + offset, size);
}

}  // namespace

COutputCompare::COutputCompare(QSize frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void COutputCompare::SetImages(const QImage& source, const QImage& output) {
    source_ = source;
    output_ = output;
    notice_.clear();
    ClampPan();
    update();
}

void COutputCompare::SetSource(const QImage& source) {
    source_ = source;
    update();
}

void COutputCompare::ShowNotice(const QString& text) {
    source_ = QImage();
    output_ = QImage();
    notice_ = text;
    update();
}

void COutputCompare::SetLayout(Layout layout) {
    layout_ = layout;
    ClampPan();
    update();
}

void COutputCompare::SetZoom(Zoom zoom) {
    zoom_ = zoom;
    pan_ = QPoint();
    update();
}

void COutputCompare::SetSplit(double fraction) {
    split_ = std::clamp(fraction, 0.0, 1.0);
    update();
}

// The picture's size on the screen: the output's pixels, fitted or one per device pixel.
QSize COutputCompare::PictureSize() const {
    if (output_.isNull()) {
        return {};
    }
    const double ratio = devicePixelRatioF();
    return QSize(std::max(1, static_cast<int>(std::lround(output_.width() / ratio))),
                 std::max(1, static_cast<int>(std::lround(output_.height() / ratio))));
}

QRect COutputCompare::PictureRect(const QRect& area) const {
    if (zoom_ == Zoom::kFit) {
        return CPreview::FitRect(output_.size(), area.size()).translated(area.topLeft());
    }
    return Centred(PictureSize(), area, pan_);
}

int COutputCompare::DividerX() const {
    const QRect picture = PictureRect(rect()).intersected(rect());
    return picture.left() + static_cast<int>(std::lround(split_ * picture.width()));
}

void COutputCompare::ClampPan() {
    const QSize picture = PictureSize();
    const QSize area = layout_ == Layout::kBeside ? QSize((width() - kGap) / 2, height()) : size();
    const int most_x = std::max(0, (picture.width() - area.width()) / 2);
    const int most_y = std::max(0, (picture.height() - area.height()) / 2);
    pan_ = QPoint(std::clamp(pan_.x(), -most_x, most_x), std::clamp(pan_.y(), -most_y, most_y));
}

void COutputCompare::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ClampPan();
}

// A caption in a corner of the visible part of a picture, on a veil that keeps it legible.
void COutputCompare::DrawCaption(QPainter& painter, const QRect& picture, const QString& caption,
                                 Qt::Alignment corner) {
    const QRect text = painter.fontMetrics().boundingRect(caption).adjusted(-4, -1, 4, 1);
    QRect box(QPoint(), text.size());
    box.moveTop(picture.top());
    if (corner & Qt::AlignRight) {
        box.moveRight(picture.right());
    } else {
        box.moveLeft(picture.left());
    }
    painter.fillRect(box, QColor(0, 0, 0, 128));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, caption);
}

void COutputCompare::DrawPicture(QPainter& painter, const QRect& area, const QImage& image, const QString& caption) {
    painter.save();
    painter.setClipRect(area);
    const QRect picture = PictureRect(area);
    if (!image.isNull()) {
        painter.drawImage(picture, image);
    }
    DrawCaption(painter, picture.intersected(area), caption, Qt::AlignLeft);
    painter.restore();
}

void COutputCompare::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (output_.isNull()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, notice_);
        return;
    }
    // Fitting smooths; at one output pixel per device pixel the output's pixels are drawn as they are.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ == Zoom::kFit);
    const QString source_caption = widget_text::Tr(controls_texts::kCompareSource);
    const QString output_caption = widget_text::Tr(controls_texts::kCompareOutput);
    if (layout_ == Layout::kBeside) {
        const int half = (width() - kGap) / 2;
        DrawPicture(painter, QRect(0, 0, half, height()), source_, source_caption);
        DrawPicture(painter, QRect(width() - half, 0, half, height()), output_, output_caption);
        return;
    }
    const QRect picture = PictureRect(rect());
    const QRect visible = picture.intersected(rect());
    const int divider = DividerX();
    painter.save();
    painter.setClipRect(QRect(visible.left(), visible.top(), divider - visible.left(), visible.height()));
    if (!source_.isNull()) {
        painter.drawImage(picture, source_);
    }
    painter.setClipRect(QRect(divider, visible.top(), visible.right() - divider + 1, visible.height()));
    painter.drawImage(picture, output_);
    painter.restore();
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(divider, visible.top(), divider, visible.bottom());
    painter.fillRect(QRect(divider - 5, visible.center().y() - 10, 10, 20), palette().color(QPalette::Highlight));
    DrawCaption(painter, visible, source_caption, Qt::AlignLeft);
    DrawCaption(painter, visible, output_caption, Qt::AlignRight);
}

void COutputCompare::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || output_.isNull()) {
        QWidget::mousePressEvent(event);
        return;
    }
    drag_from_ = event->position().toPoint();
    const bool near_divider = layout_ == Layout::kSplit && std::abs(drag_from_.x() - DividerX()) <= kDividerGrip;
    if (near_divider || (layout_ == Layout::kSplit && zoom_ == Zoom::kFit)) {
        drag_ = Drag::kDivider;
        mouseMoveEvent(event);
    } else if (zoom_ == Zoom::kActualPixels) {
        drag_ = Drag::kPan;
    }
}

void COutputCompare::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::kDivider) {
        const QRect picture = PictureRect(rect()).intersected(rect());
        if (picture.width() > 0) {
            SetSplit(static_cast<double>(at.x() - picture.left()) / picture.width());
            emit SplitMoved(split_);
        }
    } else if (drag_ == Drag::kPan) {
        pan_ += at - drag_from_;
        drag_from_ = at;
        ClampPan();
        update();
    }
    const bool over_divider =
        layout_ == Layout::kSplit && !output_.isNull() && std::abs(at.x() - DividerX()) <= kDividerGrip;
    setCursor(over_divider || drag_ == Drag::kDivider ? Qt::SplitHCursor
              : zoom_ == Zoom::kActualPixels          ? Qt::OpenHandCursor
                                                      : Qt::ArrowCursor);
}

void COutputCompare::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = Drag::kNone;
    QWidget::mouseReleaseEvent(event);
}

}  // namespace pelimon
