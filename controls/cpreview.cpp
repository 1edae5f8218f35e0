#include "controls/cpreview.h"

#include <QPainter>
#include <algorithm>

namespace pelimon {

namespace {
constexpr int kNoticePointSize = 10;
}

CPreview::CPreview(QSize frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRect CPreview::FitRect(QSize image, QSize client) {
    if (image.isEmpty() || client.isEmpty()) {
        return {};
    }
    const double ratio = static_cast<double>(image.width()) / static_cast<double>(image.height());
    const double cw = client.width();
    const double ch = client.height();
    // A line of pixels still shows as one.
    if (ratio >= cw / ch) {
        // The width limits: full width, centred vertically.
        return QRect(0, static_cast<int>((ch - cw / ratio) * 0.5), client.width(),
                     std::max(1, static_cast<int>(cw / ratio)));
    }
    return QRect(static_cast<int>((cw - ratio * ch) * 0.5), 0, std::max(1, static_cast<int>(ratio * ch)),
                 client.height());
}

void CPreview::DrawImage(const QImage& image) {
    image_ = image;
    notice_.clear();
    update();
}

void CPreview::EraseImage() {
    image_ = QImage();
    notice_.clear();
    update();
}

void CPreview::DrawNotice(const QString& text) {
    image_ = QImage();
    notice_ = text;
    update();
}

void CPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(FitRect(image_.size(), size()), image_);
    } else if (!notice_.isEmpty()) {
        QFont notice_font = font();
        notice_font.setPointSize(kNoticePointSize);
        painter.setFont(notice_font);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, notice_);
    }
}

}  // namespace pelimon
