// Helpers of the window tests: answering modal boxes without blocking (tests/support/modal_answerer.h),
// test folders with generated images, and a window over settings that live in a temporary folder.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
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
#include "tests/support/modal_answerer.h"

namespace pelimon::test {

// The control of `window` with objectName id<id>; a missing one ends the test.
template <class T>
T* Find(QWidget& window, int id) {
    T* control = window.findChild<T*>(QStringLiteral("id%1").arg(id));
    if (control == nullptr) {
        qFatal("control id%d missing", id);
    }
    return control;
}

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
