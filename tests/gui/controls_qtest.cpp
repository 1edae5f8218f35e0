// The progress dialog, the preview's fitting and loading, the digit-only edit and the confirmation
// dialogs.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <optional>

#include "controls/cfloat_edit.h"
#include "controls/confirm_dialogs.h"
#include "controls/cpreview.h"
#include "controls/preview_loader.h"
#include "controls/screen_fit.h"
#include "gui/cproc_msg.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;
using namespace pelimon::test;

class ControlsTest : public QObject {
    Q_OBJECT
  private slots:
    void progressStartsAtZero();
    void progressText_data();
    void progressText();
    void progressCancelRaisesFlagAndStays();
    void fitRect_data();
    void fitRect();
    void previewOfPhoneHeicComesFromItsThumbnail();
    void floatEditKeepsDigits();
    void checkBoxWritesItsSettingWhateverTheAnswer_data();
    void checkBoxWritesItsSettingWhateverTheAnswer();
    void windowGrowsWithItsPageUnlessMadeSmaller();
};

void ControlsTest::progressStartsAtZero() {
    CProcMsg dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("画像生成中"));
    QCOMPARE(dialog.findChild<QLabel*>("id1030")->text(), QStringLiteral("0% 完了"));
    QCOMPARE(dialog.findChild<QProgressBar*>("id1029")->value(), 1);
    QCOMPARE(dialog.findChild<QPushButton*>("id2")->text(), QStringLiteral("キャンセル"));
}

void ControlsTest::progressText_data() {
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("text");
    QTest::newRow("1 of 3") << 1 << 3 << 33 << " 33.0 % 完了";
    QTest::newRow("3 of 3") << 3 << 3 << 100 << "100.0 % 完了";
    QTest::newRow("2 of 3 floors") << 2 << 3 << 66 << " 66.0 % 完了";
    QTest::newRow("below one percent changes nothing") << 1 << 200 << 1 << "0% 完了";
    QTest::newRow("no total is ignored") << 1 << 0 << 1 << "0% 完了";
}

void ControlsTest::progressText() {
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, bar);
    QFETCH(QString, text);
    CProcMsg dialog(nullptr);
    dialog.UpdateProgress(done, total);
    QCOMPARE(dialog.findChild<QProgressBar*>("id1029")->value(), bar);
    QCOMPARE(dialog.findChild<QLabel*>("id1030")->text(), text);
}

void ControlsTest::progressCancelRaisesFlagAndStays() {
    CProcMsg dialog(nullptr);
    dialog.show();
    QVERIFY(!dialog.cancelled());
    dialog.findChild<QPushButton*>("id2")->click();
    QVERIFY(dialog.cancelled());
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
}

void ControlsTest::fitRect_data() {
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("wide") << QSize(400, 100) << QSize(80, 60) << QRect(0, 20, 80, 20);
    QTest::newRow("tall") << QSize(100, 400) << QSize(80, 60) << QRect(32, 0, 15, 60);
    QTest::newRow("same ratio") << QSize(800, 600) << QSize(80, 60) << QRect(0, 0, 80, 60);
    QTest::newRow("small image is enlarged") << QSize(8, 6) << QSize(80, 60) << QRect(0, 0, 80, 60);
    QTest::newRow("empty image") << QSize(0, 0) << QSize(80, 60) << QRect();
    QTest::newRow("a wide line keeps a row") << QSize(2000, 1) << QSize(80, 60) << QRect(0, 29, 80, 1);
    QTest::newRow("a tall line keeps a column") << QSize(1, 2000) << QSize(80, 60) << QRect(39, 0, 1, 60);
}

void ControlsTest::fitRect() {
    QFETCH(QSize, image);
    QFETCH(QSize, client);
    QFETCH(QRect, expected);
    QCOMPARE(CPreview::FitRect(image, client), expected);
}

void ControlsTest::previewOfPhoneHeicComesFromItsThumbnail() {
    // The thumbnail's HEVC stream crops the rows its clap box crops; the preview once refused it.
    PreviewLoader loader;
    std::optional<PreviewResult> loaded;
    QObject::connect(&loader, &PreviewLoader::Loaded, [&loaded](const PreviewResult& result) { loaded = result; });
    loader.Request({QStringLiteral(PELIMON_TEST_DATA_DIR "/modern/galaxy-s24fe-rot90.heic"), 0, true, QSize(400, 150)});
    QTRY_VERIFY_WITH_TIMEOUT(loaded.has_value(), 60000);
    QCOMPARE(loaded->error, QString());
    QCOMPARE(loaded->image.size(), QSize(512, 236));
    QCOMPARE(loaded->full_size, QSize(4000, 1848));
}

void ControlsTest::floatEditKeepsDigits() {
    CFloatEdit edit;
    QTest::keyClicks(&edit, "12a3");
    QCOMPARE(edit.text(), QStringLiteral("123"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("12"));
    QTest::keyClicks(&edit, "-.5 ");
    QCOMPARE(edit.text(), QStringLiteral("125"));
}

void ControlsTest::checkBoxWritesItsSettingWhateverTheAnswer_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("はい") << "id1" << int(QDialog::Accepted);
    QTest::newRow("いいえ") << "id2" << int(QDialog::Rejected);
}

void ControlsTest::checkBoxWritesItsSettingWhateverTheAnswer() {
    QFETCH(QString, answer);
    QFETCH(int, result);
    int32_t complete = 0;
    CCompleteMsg question(complete, nullptr);
    QCOMPARE(question.windowTitle(), QStringLiteral("完了"));
    QCOMPARE(question.findChild<QLabel*>("message")->text(),
             QStringLiteral("縮小画像の生成が終了しました。今すぐ出力先の\nフォルダを開きますか？"));
    ModalAnswerer<CCompleteMsg> answerer([answer](CCompleteMsg* shown) {
        shown->findChild<QCheckBox*>("id1007")->click();
        ClickChild(shown, answer.toLatin1().constData());
    });
    QCOMPARE(question.exec(), result);
    QCOMPARE(complete, 1);
}

QTEST_MAIN(ControlsTest)
// A page that grows after the window was shown whole grows the window; a window the person made
// smaller than its page stays as it is.
void ControlsTest::windowGrowsWithItsPageUnlessMadeSmaller() {
    QWidget window;
    auto* page = new QWidget;
    auto* content = new QWidget(page);
    content->setMinimumSize(200, 100);
    (new QVBoxLayout(page))->addWidget(content);
    (new QVBoxLayout(&window))->addWidget(new FittingScrollArea(page, &window));
    window.layout()->setContentsMargins(0, 0, 0, 0);
    window.show();
    pelimon::FitToScreen(window);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize shown = window.size();
    content->setMinimumSize(260, 100);
    QTRY_COMPARE(window.width(), shown.width() + 60);

    window.resize(window.width() - 100, window.height());
    QCoreApplication::sendPostedEvents();
    content->setMinimumSize(300, 100);
    QCoreApplication::sendPostedEvents();  // the layout request
    QCOMPARE(window.width(), shown.width() - 40);
}

#include "controls_qtest.moc"
