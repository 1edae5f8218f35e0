// The preview pane: one image scaled to fit and centred on the button-face background, or a line
// of text ("画像ではありません") centred at the top.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

namespace pelimon {

class CPreview : public QWidget {
    Q_OBJECT
  public:
    // `frame` is the size the pane asks for in a layout (the main window passes a 4:3 frame).
    explicit CPreview(QSize frame, QWidget* parent = nullptr);

    // Where an image of `image` pixels is drawn in a pane of `client` pixels: the whole image,
    // scaled to touch two opposite edges and centred between the other two. Empty for an empty image.
    static QRect FitRect(QSize image, QSize client);

    // Shows `image` (already rotated) until the next call; it is kept and redrawn on every repaint.
    void DrawImage(const QImage& image);
    // Clears the pane to the background colour.
    void EraseImage();
    // Clears the pane and shows one line of text.
    void DrawNotice(const QString& text);

    const QImage& image() const { return image_; }
    const QString& notice() const { return notice_; }

    QSize sizeHint() const override { return frame_; }
    QSize minimumSizeHint() const override { return frame_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize frame_;
    QImage image_;
    QString notice_;
};

}  // namespace pelimon
