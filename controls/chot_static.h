// A text that behaves as a hyperlink: blue, red while the mouse is over it, purple once opened.
#pragma once

#include <QLabel>
#include <QString>

namespace pelimon {

class CHotStatic : public QLabel {
    Q_OBJECT
  public:
    explicit CHotStatic(QWidget* parent = nullptr);

    // What a click opens (a URL). Empty means the control's own text, which then becomes the target.
    void SetLink(const QString& target);
    const QString& link() const { return link_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ApplyColour();

    bool hover_ = false;
    bool visited_ = false;
    QString link_;
};

}  // namespace pelimon
