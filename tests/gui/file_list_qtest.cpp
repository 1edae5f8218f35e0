// The main window's file list: thumbnails and pixel sizes filled in the background (the output size
// of a photo turned by Exif as a run writes it), the grid toggle, rows of a tree sorted in as they
// arrive, and the output folder left out of the tree.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "gui/cpelimon_dlg.h"
#include "gui/thumbnail_loader.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;
using namespace pelimon::test;

namespace {

constexpr int kFillTimeoutMs = 30000;

QStringList Column(const QTableView* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        texts << list->model()->index(row, column).data().toString();
    }
    return texts;
}

bool EveryRowHasAThumbnail(const QTableView* list) {
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        if (list->model()->index(row, 0).data(Qt::DecorationRole).isNull()) {
            return false;
        }
    }
    return list->model()->rowCount() > 0;
}

void WriteImageIn(const QString& folder, const QString& name) {
    QDir().mkpath(folder);
    QImage image(32, 24, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    image.save(QDir(folder).filePath(name));
}

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        settings_ = TestSettings(*root_);
        src_ = QString::fromStdString(settings_.ImagePath);
        cache_ = root_->filePath("cache");
        qputenv("XDG_CACHE_HOME", cache_.toUtf8());
    }
    void cleanup() { root_.reset(); }

    void thumbnailsAndPixelSizesFillInAndTheToggleShowsTheGrid();
    void outputSizeOfATurnedPhotoFollowsAutoRotate();
    void rowsListedAfterASortAreSortedIn();
    void movingTheOutputFolderListsTheTreeWithoutIt();
    void rowsOnScreenGetTheirThumbnailsFirst();

  private:
    std::unique_ptr<QTemporaryDir> root_;
    AppSettings settings_;
    QString src_;
    QString cache_;
};

void FileListTest::thumbnailsAndPixelSizesFillInAndTheToggleShowsTheGrid() {
    WriteImages(src_, 3, 1600, 1200);
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = window.findChild<QTableView*>("id1006");
    QTRY_VERIFY_WITH_TIMEOUT(EveryRowHasAThumbnail(list), kFillTimeoutMs);
    QCOMPARE(Column(list, 3), QStringList(3, QStringLiteral("1600 × 1200")));
    QCOMPARE(Column(list, 4), QStringList(3, QStringLiteral("640 × 480")));
    // The output column follows the size settings.
    window.findChild<QRadioButton*>("id1011")->click();
    QCOMPARE(Column(list, 4), QStringList(3, QStringLiteral("480 × 360")));
    // A turned row shows its thumbnail turned: the landscape picture's empty bands move to the sides.
    const auto thumbnail = [list] {
        return list->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(128).toImage();
    };
    QCOMPARE(qAlpha(thumbnail().pixel(64, 2)), 0);
    list->selectRow(0);
    window.findChild<QRadioButton*>("id1034")->click();
    QCOMPARE(qAlpha(thumbnail().pixel(2, 64)), 0);
    QCOMPARE(qAlpha(thumbnail().pixel(64, 2)), 255);
    // Shared with the desktop's cache; nothing written beside the photos.
    QCOMPARE(QDir(cache_ + "/thumbnails/normal").entryList(QDir::Files).size(), 3);
    QCOMPARE(QDir(src_).entryList(QDir::Files | QDir::Hidden).size(), 3);

    auto* toggle = window.findChild<QToolButton*>("id1060");
    auto* grid = window.findChild<QListView*>("thumbnail_grid");
    QVERIFY(list->isVisible() && !grid->isVisible());
    toggle->click();
    QVERIFY(grid->isVisible() && !list->isVisible());
    QCOMPARE(settings_.ThumbnailGrid, kOn);  // the next start shows the grid
    QCOMPARE(grid->model(), list->model());
    // One selection: the file made current in the grid is the list's current row.
    grid->setCurrentIndex(grid->model()->index(2, 0));
    QCOMPARE(list->selectionModel()->currentIndex().row(), 2);
    toggle->click();
    QVERIFY(list->isVisible() && !grid->isVisible());
}

void FileListTest::outputSizeOfATurnedPhotoFollowsAutoRotate() {
    // Stored 640 x 480 with Exif orientation 6: upright 480 x 640.
    QVERIFY(QFile::copy(PELIMON_TEST_DATA_DIR "/camera/ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg",
                        src_ + "turned.jpg"));
    // The second window takes the thumbnail from the cache, which keeps the way the file stores it.
    for (const auto& [auto_rotate, output] : {std::pair{kOn, "360 × 480"}, std::pair{kOff, "640 × 480"}}) {
        settings_.AutoRotate = auto_rotate;
        CpelimonDlg window(settings_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = window.findChild<QTableView*>("id1006");
        QTRY_VERIFY_WITH_TIMEOUT(EveryRowHasAThumbnail(list), kFillTimeoutMs);
        QCOMPARE(Column(list, 3), QStringList(QStringLiteral("480 × 640")));
        QCOMPARE(Column(list, 4), QStringList(QString::fromUtf8(output)));
    }
}

void FileListTest::rowsListedAfterASortAreSortedIn() {
    for (const char* name : {"b.png", "d.png"}) {
        WriteImageIn(src_, name);
    }
    for (const char* folder : {"a", "c", "e"}) {
        WriteImageIn(src_ + folder, "x.png");
    }
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = window.findChild<QTableView*>("id1006");
    QHeaderView* header = list->horizontalHeader();
    // Names descending, then the subfolders listed: their rows arrive after the sort.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionSize(0) / 2, header->height() / 2));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    window.findChild<QCheckBox*>("id1050")->click();
    QTRY_COMPARE(list->model()->rowCount(), 5);
    QTRY_VERIFY(window.findChild<QPushButton*>("id1001")->isEnabled());
    QCOMPARE(Column(list, 0), QStringList({"e/x.png", "d.png", "c/x.png", "b.png", "a/x.png"}));
}

void FileListTest::movingTheOutputFolderListsTheTreeWithoutIt() {
    WriteImageIn(src_, "own.png");
    WriteImageIn(src_ + "first", "a.png");
    WriteImageIn(src_ + "second", "b.png");
    settings_.Recurse = kOn;
    settings_.OutputPath = (src_ + "first/").toStdString();
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = window.findChild<QTableView*>("id1006");
    auto* run = window.findChild<QPushButton*>("id1001");
    QTRY_VERIFY(run->isEnabled());
    QCOMPARE(Column(list, 0), QStringList({"own.png", "second/b.png"}));

    auto* output = window.findChild<QLineEdit*>("id1023");
    output->setText(src_ + "second/");
    QTRY_VERIFY(run->isEnabled());
    QCOMPARE(Column(list, 0), QStringList({"own.png", "first/a.png"}));
    // A folder outside the tree: the whole tree is a source again.
    output->setText(root_->filePath("out"));
    QTRY_VERIFY(run->isEnabled());
    QCOMPARE(Column(list, 0), QStringList({"own.png", "first/a.png", "second/b.png"}));
}

void FileListTest::rowsOnScreenGetTheirThumbnailsFirst() {
    WriteImages(src_, 30);
    ThumbnailLoader loader(ThumbnailSize::kNormal, cache_.toStdString());
    QList<int> order;
    connect(&loader, &ThumbnailLoader::Made, this,
            [&order](const QString&, const QImage& image, const QSize&, bool, int row) {
                order << (image.isNull() ? -1 : row);
            });
    loader.SetVisibleRows(20, 25);
    std::vector<ThumbnailLoader::Job> jobs;
    for (int row = 0; row < 30; ++row) {
        const QString path = src_ + QStringLiteral("img%1.png").arg(row);
        jobs.push_back({path.toStdString(), path, row});
    }
    loader.SetJobs(std::move(jobs));
    QTRY_COMPARE_WITH_TIMEOUT(order.size(), 30, kFillTimeoutMs);
    // Two workers: a seventh file is taken only once five of the six on screen are done.
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(order[i] >= 20 && order[i] <= 25, qPrintable(QString::number(order[i])));
    }
    QVERIFY(!order.contains(-1));
}

QTEST_MAIN(FileListTest)
#include "file_list_qtest.moc"
