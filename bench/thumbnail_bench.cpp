// Measures the file list's thumbnails in the real window: opens the main window over a folder,
// then reports when every row on screen has its thumbnail (the first screen), when every row has
// one, the longest time the event loop was kept from turning while they filled, and the peak
// resident memory. Run it twice over the same folder and cache to see the second opening, which
// takes the thumbnails from the cache. Needs a display (Xvfb is enough); bench/thumbnails.sh runs it.
// Usage: pelimon_thumbnail_bench <folder> [grid]
// Prints: first_screen_ms=... all_ms=... longest_gap_ms=... peak_rss_mb=... rows=...
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <fstream>
#include <string>

#include "common/environment.h"
#include "common/language.h"
#include "gui/cpelimon_dlg.h"
#include "gui/qt_translations.h"

namespace {

// The largest resident size the process reached, in MB (VmHWM of /proc/self/status).
double PeakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

bool HasThumbnail(const QAbstractItemModel& model, int row) {
    return !model.data(model.index(row, 0), Qt::DecorationRole).isNull();
}

// Rows from `first` to `last` all have their thumbnails.
bool AllHaveThumbnails(const QAbstractItemModel& model, int first, int last) {
    for (int row = first; row <= last; ++row) {
        if (!HasThumbnail(model, row)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [grid]\n", argv[0]);
        return 2;
    }
    pelimon::SetLanguage(pelimon::LanguageFromEnvironment(pelimon::ProcessEnvironment));
    QApplication application(argc, argv);
    pelimon::InstallTranslations(pelimon::CurrentLanguage());
    const bool grid = argc > 2 && std::string(argv[2]) == "grid";
    // PELIMON_BENCH_GAPS=1 names every gap of 40 ms or more on standard error.
    const bool gaps_shown = qEnvironmentVariableIsSet("PELIMON_BENCH_GAPS");

    pelimon::AppSettings settings;
    settings.ProfilePath = "/dev/null";
    std::string folder = argv[1];
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    QElapsedTimer clock;
    clock.start();
    settings.ImagePath = folder;
    pelimon::CpelimonDlg window(settings);
    window.resize(1280, 720);
    window.show();
    auto* table = window.findChild<QTableView*>(QStringLiteral("id1006"));
    auto* grid_view = window.findChild<QListView*>(QStringLiteral("thumbnail_grid"));
    if (grid) {
        window.findChild<QToolButton*>(QStringLiteral("id1060"))->setChecked(true);
    }
    const QAbstractItemModel& model = *table->model();

    // A timer due every 5 ms: how late it fires is how long the loop was kept busy.
    constexpr qint64 kTick = 5;
    qint64 last_tick = clock.elapsed();
    qint64 longest_gap = 0;
    qint64 first_screen = -1;
    qint64 last_full_check = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(static_cast<int>(kTick));
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const qint64 gap = now - last_tick - kTick;
        longest_gap = std::max(longest_gap, gap);
        if (gaps_shown && gap >= 40) {
            std::fprintf(stderr, "gap of %lld ms at %lld ms\n", static_cast<long long>(gap),
                         static_cast<long long>(now));
        }
        last_tick = now;
        const int rows = model.rowCount();
        if (rows == 0) {
            return;
        }
        if (first_screen < 0) {
            int first = 0;
            int last = rows - 1;
            if (grid) {
                const QModelIndex top = grid_view->indexAt(QPoint(4, 4));
                first = top.isValid() ? top.row() : 0;
                last = first;
                const QRect area = grid_view->viewport()->rect();
                for (int row = first; row < rows && grid_view->visualRect(model.index(row, 0)).intersects(area);
                     ++row) {
                    last = row;
                }
            } else {
                first = std::max(0, table->rowAt(0));
                const int bottom = table->rowAt(table->viewport()->height() - 1);
                last = bottom < 0 ? rows - 1 : bottom;
            }
            if (AllHaveThumbnails(model, first, last)) {
                first_screen = now;
            }
        } else if (now - last_full_check >= 100) {
            last_full_check = now;
            if (AllHaveThumbnails(model, 0, rows - 1)) {
                std::printf("first_screen_ms=%lld all_ms=%lld longest_gap_ms=%lld peak_rss_mb=%.0f rows=%d\n",
                            static_cast<long long>(first_screen), static_cast<long long>(now),
                            static_cast<long long>(longest_gap), PeakResidentMegabytes(), rows);
                application.quit();
            }
        }
        last_tick = clock.elapsed();  // the checks above are the bench's own work, not the window's
    });
    ticker.start();
    // A folder whose thumbnails never all come would hold the bench for ever.
    QTimer::singleShot(300000, &application, [&] {
        std::printf("timeout: first_screen_ms=%lld rows=%d\n", static_cast<long long>(first_screen), model.rowCount());
        application.exit(1);
    });
    return QApplication::exec();
}
