// Batches started from the main window: 実行 with progress and cancel, and drops that run at once.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <QComboBox>
#include <QRegularExpression>
#include <QSlider>

#include "controls/confirm_dialogs.h"
#include "controls/coutput_compare.h"
#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cproc_msg.h"
#include "gui/run_report.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/format_codes.h"
#include "tests/support/read_only_folder.h"

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
    void questionsComeBeforeTheProgressDialog();
    void endMessageCountsEveryFile();
    void dropWithAutomaticRunChecksAllAndRuns();
    void defaultsPressedDuringARunAreKept();
    void subfoldersAreListedByTheirPathAndMirrored();
    void outputPreviewAndEstimateShowWhatTheRunWrites();
    void secondUpdateRunSkipsEveryUpToDateFile();

  private:
    static constexpr int kImages = 6;
    std::unique_ptr<QTemporaryDir> root_;
    AppSettings settings_;
};

void MainWindowBatchTest::runReducesEveryCheckedFileWithProgress() {
    CpelimonDlg window(settings_);
    auto* run = window.findChild<QPushButton*>("id1001");
    QSignalSpy progress(&window.batch().interaction(), &GuiInteraction::ProgressReported);
    // At every report the percentage and the count below it show the same count of files.
    QStringList shown;
    QObject context;
    connect(
        &window.batch().interaction(), &GuiInteraction::ProgressReported, &context,
        [&window, &shown](int, int) {
            CProcMsg* dialog = window.batch().progress_dialog();
            shown << dialog->findChild<QLabel*>("id1030")->text() + " | " + dialog->findChild<QLabel*>("count")->text();
        },
        Qt::BlockingQueuedConnection);
    run->click();
    QVERIFY(window.batch().running());
    QVERIFY(!run->isEnabled());
    QVERIFY(window.batch().progress_dialog() == nullptr);  // opens with the first progress report
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QVERIFY(run->isEnabled());
    QCOMPARE(OutputCount(settings_), kImages);
    QVERIFY(!progress.isEmpty());
    const QList<QVariant> last = progress.constLast();
    QCOMPARE(last.at(0).toInt(), last.at(1).toInt());  // the bar ends full
    QStringList expected;
    for (int file = 0; file < kImages; ++file) {
        expected << QStringLiteral("0% 完了 | 0 / 6");  // the files are examined
    }
    expected << QStringLiteral(" 16.0 % 完了 | 1 / 6") << QStringLiteral(" 33.0 % 完了 | 2 / 6")
             << QStringLiteral(" 50.0 % 完了 | 3 / 6") << QStringLiteral(" 66.0 % 完了 | 4 / 6")
             << QStringLiteral(" 83.0 % 完了 | 5 / 6") << QStringLiteral("100.0 % 完了 | 6 / 6");
    QCOMPARE(shown, expected);
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
                // Below the percentage: the count of files finished and the file's name.
                QCOMPARE(dialog->findChild<QLabel*>("id1030")->text(), QStringLiteral("0% 完了"));
                QCOMPARE(dialog->findChild<QLabel*>("count")->text(), QStringLiteral("0 / 6"));
                QCOMPARE(dialog->findChild<QLabel*>("file")->text(), QStringLiteral("img0.png"));
                dialog->findChild<QPushButton*>("id2")->click();
                QVERIFY(dialog->cancelled());
                QVERIFY(dialog->isVisible());  // the run closes it, not the button
            }
        },
        Qt::BlockingQueuedConnection);
    QString said;
    ModalAnswerer<CRunReport> end([&said](CRunReport* report) {
        said = report->findChild<QLabel*>("summary")->text();
        report->accept();
    });
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QCOMPARE(said, QStringLiteral("処理を中止しました。\n0 個の画像を書き出しました。"));
    QCOMPARE(reports, 1);
    QCOMPARE(OutputCount(settings_), 0);
    QVERIFY(window.batch().progress_dialog() == nullptr);
    QVERIFY(window.findChild<QPushButton*>("id1001")->isEnabled());
}

// The folder question comes before the progress dialog, which then opens for the work; the
// completion question says what was written.
void MainWindowBatchTest::questionsComeBeforeTheProgressDialog() {
    settings_.OutputPath = QDir(root_->path()).filePath("new").toStdString() + "/";
    settings_.Complete = 0;
    CpelimonDlg window(settings_);
    bool dialog_during_question = true;
    ModalAnswerer<QMessageBox> folder([&window, &dialog_during_question](QMessageBox* question) {
        dialog_during_question =
            window.batch().progress_dialog() != nullptr || window.findChild<CProcMsg*>() != nullptr;
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));
        question->button(QMessageBox::Yes)->click();
    });
    QString note;
    ModalAnswerer<CCompleteMsg> completion([&note](CCompleteMsg* question) {
        note = question->findChild<QLabel*>("note")->text();
        question->reject();
    });
    QSignalSpy progress(&window.batch().interaction(), &GuiInteraction::ProgressReported);
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QVERIFY(folder.answered());
    QVERIFY(!dialog_during_question);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(note, QStringLiteral("%1 個の画像を書き出しました。").arg(kImages));
    QCOMPARE(OutputCount(settings_), kImages);
}

// Written, left out (no enlarging) and failed files are counted; the failed file is listed once
// with its reason.
void MainWindowBatchTest::endMessageCountsEveryFile() {
    const QDir source(QString::fromStdString(settings_.ImagePath));
    QImage big(800, 600, QImage::Format_RGB888);
    big.fill(Qt::darkGreen);
    QVERIFY(big.save(source.filePath("big.png")));
    QFile broken(source.filePath("broken.png"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'x'));
    broken.close();
    settings_.BigSize = 2;  // the six 64 x 48 images would have to be enlarged: left out
    CpelimonDlg window(settings_);
    QString said;
    QStringList files;
    ModalAnswerer<CRunReport> end([&said, &files](CRunReport* report) {
        said = report->findChild<QLabel*>("summary")->text();
        auto* list = report->findChild<QTreeWidget*>("failures");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            files << list->topLevelItem(row)->text(0);
        }
        report->accept();
    });
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);

    QCOMPARE(said.split('\n'),
             QStringList({QStringLiteral("1 個の画像を書き出しました。"),
                          QStringLiteral("%1 個の画像は出力しませんでした（拡大しない設定で縮小の必要がない画像、"
                                         "見つからなくなった画像）。")
                              .arg(kImages),
                          QStringLiteral("1 個の画像を縮小できませんでした。")}));
    QCOMPARE(files, QStringList({"broken.png"}));
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

// "Include subfolders" lists the tree by paths from the source folder; the Exif button finds a
// subfolder's file, and the run writes each output into the same subfolder of the output folder.
void MainWindowBatchTest::subfoldersAreListedByTheirPathAndMirrored() {
    const QString src = QString::fromStdString(settings_.ImagePath);
    for (const char* folder : {"2026/kyoto", ".thumbnails"}) {
        QDir(src).mkpath(folder);
    }
    WriteImages(src + "2026/kyoto", 2);
    WriteImages(src + ".thumbnails", 1);
    CpelimonDlg window(settings_);
    auto* list = window.findChild<QTableView*>("id1006");
    QCOMPARE(list->model()->rowCount(), kImages);
    QDir(src).mkpath("locked");
    auto* unreadable = window.findChild<QLabel*>("unreadable_notice");
    {
        // The walk's thread starts from this one and has its permissions.
        UnreadableFolder locked(src.toStdString() + "locked");
        QVERIFY2(locked.ok(), locked.why().c_str());
        window.findChild<QCheckBox*>("id1050")->click();
        QCOMPARE(settings_.Recurse, kOn);
        // The subfolders are read in the background; their rows follow the folder's own.
        QTRY_COMPARE(list->model()->rowCount(), kImages + 2);
        QTRY_VERIFY(window.findChild<QPushButton*>("id1001")->isEnabled());
    }
    QVERIFY(!unreadable->isHidden());
    QVERIFY2(unreadable->text().contains(src + "locked: "), qPrintable(unreadable->text()));
    QCOMPARE(list->model()->index(kImages, 0).data().toString(), QStringLiteral("2026/kyoto/img0.png"));
    QCOMPARE(window.findChild<QLabel*>("id1046")->text(), QStringLiteral("（8/8）"));

    list->setCurrentIndex(list->model()->index(kImages + 1, 0));
    auto* exif = window.findChild<QPushButton*>("id1030");
    exif->setEnabled(true);  // as if the preview had found Exif data
    ModalAnswerer<QMessageBox> box([](QMessageBox* message) { message->accept(); });
    exif->click();
    QCOMPARE(box.text(), QStringLiteral("指定されたファイルには Exif 情報が有りません。"));  // found, a PNG

    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);
    QCOMPARE(OutputCount(settings_), kImages);
    QCOMPARE(QDir(QString::fromStdString(settings_.OutputPath) + "2026/kyoto").entryList(QDir::Files).size(), 2);

    // Turned off, the subfolders' rows go; the folder's own stay.
    window.findChild<QCheckBox*>("id1050")->click();
    QCOMPARE(list->model()->rowCount(), kImages);
    // A folder typed with Recurse on lists its tree too.
    window.findChild<QCheckBox*>("id1050")->click();
    window.findChild<QLineEdit*>("id1004")->setText(src + "2026");
    QTRY_COMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("kyoto/img0.png"));
}

// The bytes of the output line under the output preview ("出力　12,345 バイト（13 KB）　640 x 480").
qint64 PreviewBytes(const QLabel* info) {
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("([0-9,]+) バイト")).match(info->text());
    return match.hasMatch() ? match.captured(1).remove(QLatin1Char(',')).toLongLong() : -1;
}

void MainWindowBatchTest::outputPreviewAndEstimateShowWhatTheRunWrites() {
    settings_.FileType = FileTypeOf(ImageFormat::kJpeg);
    CpelimonDlg window(settings_);
    window.show();
    auto* show = window.findChild<QCheckBox*>("id1061");
    auto* compare = window.findChild<COutputCompare*>("id1064");
    auto* info = window.findChild<QLabel*>("id1065");
    auto* estimate = window.findChild<QLabel*>("id1066");
    QVERIFY(show && compare && info && estimate);
    QVERIFY(!show->isChecked() && !compare->isVisible());  // the source preview shows until asked

    auto* list = window.findChild<QTableView*>("id1006");
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    show->click();
    QVERIFY(compare->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!compare->output().isNull(), kRunTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(info->text().contains(QStringLiteral("640 x 480")), kRunTimeoutMs);
    const qint64 at_90 = PreviewBytes(info);
    QVERIFY(at_90 > 0);
    // Every file is checked and there are fewer than the sample: the total is exact, not "about".
    QTRY_VERIFY_WITH_TIMEOUT(estimate->text().startsWith(QStringLiteral("出力 ")), kRunTimeoutMs);
    QVERIFY(!estimate->text().contains(QStringLiteral("約")));

    window.findChild<QComboBox*>("id1062")->setCurrentIndex(1);
    QCOMPARE(compare->layout(), COutputCompare::Layout::kBeside);
    window.findChild<QComboBox*>("id1062")->setCurrentIndex(0);
    QTest::mousePress(compare, Qt::LeftButton, {}, QPoint(compare->width() / 4, compare->height() / 2));
    QTest::mouseRelease(compare, Qt::LeftButton, {}, QPoint(compare->width() / 4, compare->height() / 2));
    QVERIFY(compare->split() < 0.4);
    window.findChild<QComboBox*>("id1063")->setCurrentIndex(1);
    QCOMPARE(compare->zoom(), COutputCompare::Zoom::kActualPixels);

    // A lower quality renders again, smaller; the run then writes exactly the size shown.
    window.findChild<QSlider*>("id1002")->setValue(30);
    QTRY_VERIFY_WITH_TIMEOUT(PreviewBytes(info) > 0 && PreviewBytes(info) < at_90, kRunTimeoutMs);
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);
    // the outputs are numbered in list order (NameRule's default)
    const QFileInfo first(
        QDir(QString::fromStdString(settings_.OutputPath)).filePath(QStringLiteral("resize0001.jpg")));
    QCOMPARE(first.size(), PreviewBytes(info));

    // The next start shows the pane as it was left.
    window.findChild<QComboBox*>("id1062")->setCurrentIndex(1);
    CpelimonDlg next(settings_);
    next.show();
    auto* next_compare = next.findChild<COutputCompare*>("id1064");
    QVERIFY(next.findChild<QCheckBox*>("id1061")->isChecked() && next_compare->isVisible());
    QCOMPARE(next_compare->layout(), COutputCompare::Layout::kBeside);
    QCOMPARE(next_compare->zoom(), COutputCompare::Zoom::kActualPixels);
}

void MainWindowBatchTest::secondUpdateRunSkipsEveryUpToDateFile() {
    settings_.Update = 1;
    CpelimonDlg window(settings_);
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);
    QCOMPARE(OutputCount(settings_), kImages);

    QString said;
    ModalAnswerer<CRunReport> end([&said](CRunReport* report) {
        said = report->findChild<QLabel*>("summary")->text();
        report->accept();
    });
    window.findChild<QPushButton*>("id1001")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.batch().running(), kRunTimeoutMs);
    QCOMPARE(said.split('\n'), QStringList({QStringLiteral("0 個の画像を書き出しました。"),
                                            QStringLiteral("%1 個の画像は最新のため省略しました。").arg(kImages)}));
}

QTEST_MAIN(MainWindowBatchTest)
#include "main_window_batch_qtest.moc"
