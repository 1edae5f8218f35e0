// Helpers of the window tests: answering modal boxes without blocking, test folders with
// generated images, and a window over settings that live in a temporary folder.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

#include "settings/app_settings.h"

namespace pelimon::test {

// Answers the first modal widget of type T that becomes active, by calling `answer` with it.
// Polls the event loop's modal widget, so it works with any exec() the code under test runs.
// Stops looking when destroyed or after 20 s.
template <class T>
class ModalAnswerer {
  public:
    explicit ModalAnswerer(std::function<void(T*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                answered_ = true;
                text_ = modal->property("text").toString();
                answer_(modal);
            } else if (deadline_.hasExpired()) {
                timer_.stop();
            }
        });
        timer_.start(5);
    }
    bool answered() const { return answered_; }
    // The text property of the answered widget (QMessageBox), when it has one.
    const QString& text() const { return text_; }

  private:
    std::function<void(T*)> answer_;
    QDeadlineTimer deadline_{20000};
    QTimer timer_;
    bool answered_ = false;
    QString text_;
};

// Clicks the child button with objectName `id` of a modal widget.
inline void ClickChild(QWidget* widget, const char* id) {
    if (auto* button = widget->findChild<QAbstractButton*>(QString::fromLatin1(id))) {
        button->click();
    }
}

// Drops `paths` onto `window` as a file manager does: the drag enters, then drops.
inline void DropPaths(QWidget& window, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    mime.setUrls(urls);
    const QPointF where(10, 10);
    QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

// Writes `count` PNG images of width x height named img<i>.png into `folder`.
inline void WriteImages(const QString& folder, int count, int width = 64, int height = 48) {
    for (int i = 0; i < count; ++i) {
        QImage image(width, height, QImage::Format_RGB888);
        image.fill(QColor(40 * i % 256, 100, 200));
        image.setPixelColor(0, 0, Qt::white);
        image.save(QDir(folder).filePath(QStringLiteral("img%1.png").arg(i)));
    }
}

// Settings for a window test: the settings file, the source folder and the output folder all
// inside `root`; nothing asks before a batch ends.
inline AppSettings TestSettings(const QTemporaryDir& root) {
    AppSettings settings;
    const QDir dir(root.path());
    dir.mkpath(QStringLiteral("src"));
    dir.mkpath(QStringLiteral("out"));
    settings.ProfilePath = dir.filePath(QStringLiteral("pelimon.ini")).toStdString();
    settings.ModulePath = dir.filePath(QStringLiteral("pelimon")).toStdString();
    settings.ImagePath = dir.filePath(QStringLiteral("src")).toStdString() + "/";
    settings.OutputPath = dir.filePath(QStringLiteral("out")).toStdString() + "/";
    settings.Complete = 1;
    return settings;
}

}  // namespace pelimon::test
