// The source beside its output, or both in one picture split by a divider that the mouse drags
// (the source left of it, the output right), scaled to fit or at one output pixel per screen
// pixel, where a drag moves the picture.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

namespace pelimon {

class COutputCompare : public QWidget {
    Q_OBJECT
  public:
    enum class Layout { kBeside, kSplit };
    enum class Zoom { kFit, kActualPixels };

    explicit COutputCompare(QSize frame, QWidget* parent = nullptr);

    // `source` is shown in the output's frame (scaled to the output's size); `output` is the
    // decoded output file. Either may be null (not ready yet).
    void SetImages(const QImage& source, const QImage& output);
    void SetSource(const QImage& source);
    // Clears both pictures and shows one line of text instead.
    void ShowNotice(const QString& text);
    void SetLayout(Layout layout);
    void SetZoom(Zoom zoom);
    // The divider of the split layout, as a fraction of the picture's width (0..1).
    void SetSplit(double fraction);

    Layout layout() const { return layout_; }
    Zoom zoom() const { return zoom_; }
    double split() const { return split_; }
    const QImage& output() const { return output_; }
    const QString& notice() const { return notice_; }
    // Where the output is drawn (split layout) or each picture (beside: the right one), in widget
    // coordinates.
    QRect PictureRect(const QRect& area) const;

    QSize sizeHint() const override { return frame_; }
    QSize minimumSizeHint() const override { return frame_; }

  signals:
    void SplitMoved(double fraction);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QSize PictureSize() const;
    int DividerX() const;
    void ClampPan();
    void DrawPicture(QPainter& painter, const QRect& area, const QImage& image, const QString& caption);
    static void DrawCaption(QPainter& painter, const QRect& picture, const QString& caption, Qt::Alignment corner);

    QSize frame_;
    QImage source_;
    QImage output_;
    QString notice_;
    Layout layout_ = Layout::kSplit;
    Zoom zoom_ = Zoom::kFit;
    double split_ = 0.5;
    QPoint pan_;  // of the picture's centre from the area's centre, at one output pixel per device pixel
    enum class Drag { kNone, kDivider, kPan } drag_ = Drag::kNone;
    QPoint drag_from_;
};

}  // namespace pelimon
