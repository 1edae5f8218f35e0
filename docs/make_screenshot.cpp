// Renders the documentation screenshots: the main window over a folder of generated sample photos
// (the first one previewed, one turned by 90°), the first one's output split with its source, each
// dialog, the progress dialog and the messages at the end of a run. Meant for a real X server with a window manager
// (docs/make-screenshot.sh runs Xvfb and openbox), so that the pictures show the frames and fonts people see. Usage:
// pelimon_screenshot <output folder> [JPEG with Exif data] [main] With "main" only the main window is rendered (the
// scaled screenshot).
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "batch/batch_texts.h"
#include "common/environment.h"
#include "common/language.h"
#include "controls/cabout_dlg.h"
#include "controls/confirm_dialogs.h"
#include "dialogs/cexif_dialog.h"
#include "dialogs/coptmain.h"
#include "dialogs/csetsize.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cproc_msg.h"
#include "gui/help_page.h"
#include "gui/help_window.h"
#include "gui/qt_translations.h"
#include "gui/run_report.h"
#include "imagelib/format_table.h"
#include "imagelib/imagelib_texts.h"

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

void Settle(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// Shows `window`, lets the window manager frame it, and saves the screen area of its frame.
bool Shoot(QWidget& window, const QString& file) {
    window.show();
    window.raise();
    window.activateWindow();
    Settle(800);
    const QRect frame = window.frameGeometry();
    QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    // A Wayland compositor lets no client read the screen: the window's own contents, without its frame.
    if (shot.isNull()) {
        shot = window.grab();
    }
    window.hide();
    if (!shot.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(file));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [JPEG with Exif] [main]\n", argv[0]);
        return 2;
    }
    pelimon::SetLanguage(pelimon::LanguageFromEnvironment(pelimon::ProcessEnvironment));
    QApplication application(argc, argv);
    pelimon::InstallTranslations(pelimon::CurrentLanguage());
    // The pictures of another language are named after the Japanese ones with its name:
    // main-window-en.png.
    const auto png = [](const char* name) {
        const std::string& language = pelimon::CurrentLanguage();
        return QString::fromLatin1(name) +
               QString::fromStdString(language == pelimon::kJapanese ? ".png" : "-" + language + ".png");
    };
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString exif_sample = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool only_main = argc > 3 && QString::fromLatin1(argv[3]) == QStringLiteral("main");

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
    // The four classic types listed, JPEG written.
    settings.ImageType = 0;
    for (const pelimon::ImageFormat format : {pelimon::ImageFormat::kBmp, pelimon::ImageFormat::kJpeg,
                                              pelimon::ImageFormat::kPng, pelimon::ImageFormat::kGif}) {
        settings.ImageType |= pelimon::FormatRowOf(format).codes.image_type;
    }
    settings.FileType = pelimon::FormatRowOf(pelimon::ImageFormat::kJpeg).codes.file_type;
    // A target file size, so that the size summary and the size dialog show it.
    settings.SetSize = pelimon::kOn;
    settings.DataSize = 150;
    pelimon::CpelimonDlg window(settings);
    window.show();
    Settle(300);

    // One turned file (highlighted, then 90°), then the first file current and previewed.
    auto* list = window.findChild<QTableView*>(QStringLiteral("id1006"));
    list->selectionModel()->select(list->model()->index(2, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.findChild<QRadioButton*>(QStringLiteral("id1034"))->click();
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    auto* colours = window.findChild<QLineEdit*>(QStringLiteral("id1028"));
    const QDeadlineTimer deadline(20000);
    while (colours->text().isEmpty() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    bool ok = Shoot(window, out.filePath(png(only_main ? "main-window-scale2" : "main-window")));
    if (only_main) {
        return ok ? 0 : 1;
    }
    window.show();

    // The output preview: the first file split with its output, as the run will write it.
    auto* show_output = window.findChild<QCheckBox*>(QStringLiteral("id1061"));
    auto* output_line = window.findChild<QLabel*>(QStringLiteral("id1065"));
    auto* estimate = window.findChild<QLabel*>(QStringLiteral("id1066"));
    // On a larger window, so that the pictures are large enough to judge.
    const QSize natural = window.size();
    window.resize(window.screen()->availableGeometry().size() * 0.9);
    show_output->click();
    const QDeadlineTimer rendered(30000);
    while ((!output_line->text().contains(QLatin1Char('x')) || estimate->text().isEmpty()) && !rendered.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ok = Shoot(window, out.filePath(png("output-preview"))) && ok;
    show_output->click();
    window.resize(natural);
    window.show();

    const std::function<bool()> shots[] = {
        [&] {
            CSetSize dialog(settings, &window);
            return Shoot(dialog, out.filePath(png("size-dialog")));
        },
        [&] {
            COptMain dialog(settings, &window);
            return Shoot(dialog, out.filePath(png("options-dialog")));
        },
        [&] {
            if (exif_sample.isEmpty()) {
                return true;
            }
            CExifDialog dialog(exif_sample.toStdString(), &window);
            return Shoot(dialog, out.filePath(png("exif-dialog")));
        },
        [&] {
            int32_t confirm = 0;
            pelimon::CConfirm dialog(confirm, &window);
            return Shoot(dialog, out.filePath(png("confirm-dialog")));
        },
        [&] {
            pelimon::CAboutDlg dialog(&window);
            return Shoot(dialog, out.filePath(png("about-dialog")));
        },
        [&] {
            pelimon::CProcMsg dialog(&window);
            dialog.UpdateProgress(12, 38);
            dialog.show();
            Settle(100);
            dialog.ShowFile(12, 38, QStringLiteral("IMG_0112.jpg"));
            return Shoot(dialog, out.filePath(png("progress-dialog")));
        },
        [&] {
            const pelimon::RunCounts counts{.written = 35, .left_out = 2, .failed = 1, .cancelled = false};
            const std::vector<pelimon::Error> failures{
                {"IMG_0117.jpg: " + pelimon::batch_texts::NotDecoded(pelimon::imagelib_texts::Corrupt(
                                        pelimon::imagelib_texts::kJpegBadCompressedData.str())),
                 photos.toStdString() + "/IMG_0117.jpg"}};
            pelimon::CRunReport dialog(counts, failures, {}, &window);
            return Shoot(dialog, out.filePath(png("end-report")));
        },
        [&] {
            int32_t complete = 0;
            pelimon::CCompleteMsg dialog(complete, &window);
            dialog.SetNote(pelimon::RunCountsText({.written = 38, .left_out = 0, .failed = 0, .cancelled = false}));
            return Shoot(dialog, out.filePath(png("end-question")));
        },
        [&] {
            const QString page =
                pelimon::FindHelpPage(QApplication::applicationDirPath() + "/../app", pelimon::CurrentLanguage());
            if (page.isEmpty()) {
                return true;
            }
            pelimon::HelpWindow help(pelimon::HelpUrl(page, QString::fromLatin1(pelimon::kMainWindowHelpAnchor)),
                                     &window);
            return Shoot(help, out.filePath(png("help-window")));
        },
    };
    for (const auto& shot : shots) {
        ok = shot() && ok;
    }
    return ok ? 0 : 1;
}
