// Batches started from the main window: 実行 with progress and cancel, and drops that run at once.
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cproc_msg.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;
using namespace pelimon::test;

namespace {

constexpr int kRunTimeoutMs = 60000;

int OutputCount(const AppSettings& settings) {
    return static_cast<int>(QDir(QString::fromStdString(settings.OutputPath)).entryList(QDir::Files).size());
}

}  // namespace

class MainWindowBatchTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        settings_ = TestSettings(*root_);
        WriteImages(QString::fromStdString(settings_.ImagePath), kImages);
    }
    void cleanup() { root_.reset(); }

    void runReducesEveryCheckedFileWithProgress();
    void cancelFromProgressStopsBeforeTheNextImage();
    void dropWithAutomaticRunChecksAllAndRuns();
    void defaultsPressedDuringARunAreKept();

  private:
    static constexpr int kImages = 6;
    std::unique_ptr<QTemporaryDir> root_;
    AppSettings settings_;
};

void MainWindowBatchTest::runReducesEveryCheckedFileWithProgress() {
    CpelimonDlg window(settings_);
    auto* run = window.findChild<QPushButton*>("id1001");
    QSignalSpy progress(&window.batch().interaction(), &GuiInteraction::ProgressReported);
    run->click();
    QVERIFY(window.batch().running());
    QVERIFY(!run->isEnabled());
    QVERIFY(window.batch().progress_dialog() != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QVERIFY(run->isEnabled());
    QCOMPARE(OutputCount(settings_), kImages);
    QVERIFY(!progress.isEmpty());
    const QList<QVariant> last = progress.constLast();
    QCOMPARE(last.at(0).toInt(), last.at(1).toInt());  // the bar ends full
}

void MainWindowBatchTest::cancelFromProgressStopsBeforeTheNextImage() {
    CpelimonDlg window(settings_);
    int reports = 0;
    // Blocking: the worker waits at its first report until キャンセル has been pressed.
    QObject context;
    connect(
        &window.batch().interaction(), &GuiInteraction::ProgressReported, &context,
        [&window, &reports](int, int) {
            if (++reports == 1) {
                CProcMsg* dialog = window.batch().progress_dialog();
                QVERIFY(dialog != nullptr);
                dialog->findChild<QPushButton*>("id2")->click();
                QVERIFY(dialog->cancelled());
                QVERIFY(dialog->isVisible());  // the run closes it, not the button
            }
        },
        Qt::BlockingQueuedConnection);
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QCOMPARE(reports, 1);
    QCOMPARE(OutputCount(settings_), 0);
    QVERIFY(window.batch().progress_dialog() == nullptr);
    QVERIFY(window.findChild<QPushButton*>("id1001")->isEnabled());
}

void MainWindowBatchTest::dropWithAutomaticRunChecksAllAndRuns() {
    settings_.DragDrop = 1;
    settings_.Select = 0;
    CpelimonDlg window(settings_);
    DropPaths(window, {QString::fromStdString(settings_.ImagePath)});

    QCOMPARE(settings_.Select, 1);
    QCOMPARE(window.findChild<QLabel*>("id1046")->text(), QStringLiteral("（%1/%1）").arg(kImages));
    QVERIFY(window.batch().running());
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);
    QCOMPARE(OutputCount(settings_), kImages);
}

void MainWindowBatchTest::defaultsPressedDuringARunAreKept() {
    settings_.DefConfirm = 1;  // no question before the reset
    CpelimonDlg window(settings_);
    window.findChild<QPushButton*>("id1001")->click();
    QVERIFY(window.batch().running());  // its end is handled by the event loop, after the reset
    window.findChild<QPushButton*>("id1013")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    // The run numbered its files and started with Complete 1; the reset's values stay.
    QCOMPARE(settings_.ImageNum, 0);
    QCOMPARE(settings_.Complete, 0);
}

QTEST_MAIN(MainWindowBatchTest)
#include "main_window_batch_qtest.moc"
