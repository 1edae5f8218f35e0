// Renders docs/main-window.png: the main window over a folder of generated sample photos, with
// the first one previewed. Built by docs/make-screenshot.sh; not part of the program.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "gui/cpelimon_dlg.h"

namespace {

// A landscape: sky, sun and hills, so that the preview shows something photo-like.
void WriteSample(const QString& path, int width, int height, int hue) {
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 250));
    sky.setColorAt(1, QColor::fromHsv(hue, 40, 255));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(250, 210, 80));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(width * 0.75, height * 0.28), height * 0.1, height * 0.1);
    painter.setBrush(QColor::fromHsv(110, 150, 150));
    painter.drawEllipse(QPointF(width * 0.3, height * 1.1), width * 0.6, height * 0.5);
    painter.setBrush(QColor::fromHsv(100, 170, 120));
    painter.drawEllipse(QPointF(width * 0.9, height * 1.15), width * 0.5, height * 0.45);
    painter.end();
    image.save(path, nullptr, 90);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    QTemporaryDir root;
    const QDir dir(root.path());
    dir.mkpath(QStringLiteral("写真"));
    const QString photos = dir.filePath(QStringLiteral("写真"));
    const char* names[] = {"IMG_0101.jpg", "IMG_0102.jpg", "IMG_0103.jpg", "夕焼け.jpg", "scan_01.png"};
    int hue = 200;
    for (const char* name : names) {
        WriteSample(QDir(photos).filePath(QString::fromUtf8(name)), 1600, 1200, hue);
        hue = (hue + 37) % 360;
    }

    pelimon::AppSettings settings;
    settings.ProfilePath = dir.filePath(QStringLiteral("pelimon.ini")).toStdString();
    settings.ImagePath = photos.toStdString() + "/";
    settings.OutputPath = "resized";
    settings.ImageType = pelimon::kTypeBmp | pelimon::kTypeJpeg | pelimon::kTypePng | pelimon::kTypeGif;
    settings.FileType = pelimon::kFileTypeJpeg;
    pelimon::CpelimonDlg window(settings);
    window.resize(860, 600);
    window.show();

    auto* list = window.findChild<QTableView*>(QStringLiteral("id1006"));
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    auto* colours = window.findChild<QLineEdit*>(QStringLiteral("id1028"));
    const QDeadlineTimer deadline(20000);
    while (colours->text().isEmpty() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
