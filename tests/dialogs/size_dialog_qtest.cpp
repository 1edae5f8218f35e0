// The size settings dialog: its state when opened from each preset, halving and doubling, the
// checks of OK and the description it builds.
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "dialogs/csetsize.h"
#include "dialogs/size_rule.h"
#include "tests/dialogs/recording_prompt.h"
#include "tests/support/modal_answerer.h"

namespace {

template <class W = QWidget>
W* Control(QWidget& dialog, const char* id) {
    W* widget = dialog.findChild<W*>(QString::fromLatin1(id));
    if (widget == nullptr) {
        qFatal("no control %s", id);
    }
    return widget;
}

QString Edit(QWidget& dialog, const char* id) {
    return Control<QLineEdit>(dialog, id)->text();
}

void Type(QWidget& dialog, const char* id, const QString& text) {
    Control<QLineEdit>(dialog, id)->setText(text);
}

void Click(QWidget& dialog, const char* id) {
    Control<QAbstractButton>(dialog, id)->click();
}

pelimon::AppSettings PixelRule(int aspect, int rect) {
    pelimon::AppSettings settings;
    settings.Base = 4;
    settings.Method = pelimon::kMethodPixels;
    settings.Aspect = aspect;
    settings.Rect = rect;
    return settings;
}

}  // namespace

class SizeDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void opensFromSettings_data();
    void opensFromSettings();
    void okWithoutChangesKeepsPreset();
    void halvingLeavesPresetAndDescribesRule();
    void doubling_data();
    void doubling();
    void okChecksSizes_data();
    void okChecksSizes();
    void okChecksDataSize_data();
    void okChecksDataSize();
    void refusedOkStoresNothing();
    void qualityEdit_data();
    void qualityEdit();
    void qualitySliderAtZeroMeansOne();
    void uncheckingAspectWithMethod4KeepsIt();
    void pixEvenOnlyWithEvenMenu();
    void descriptions_data();
    void descriptions();
    void realMessageBoxesAreAnswered();
};

void SizeDialogTest::opensFromSettings_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("rect");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("checkedRadio");
    QTest::addColumn<QString>("checkedRect");  // empty: radios disabled
    QTest::addColumn<QString>("enabledEdits");

    // Presets force pixels, keep aspect, fit into the rectangle, whatever the file says.
    QTest::newRow("640x480") << 1 << 2 << 0 << 1 << "640"
                             << "480"
                             << "id1010"
                             << "id1018"
                             << "id1020 id1021";
    QTest::newRow("480x360") << 2 << 2 << 0 << 2 << "480"
                             << "360"
                             << "id1010"
                             << "id1018"
                             << "id1020 id1021";
    QTest::newRow("own width rule") << 4 << 1 << 1 << 1 << "800"
                                    << "600"
                                    << "id1010"
                                    << "id1016"
                                    << "id1020";
    QTest::newRow("own height ratio") << 4 << 2 << 1 << 2 << "30"
                                      << "40"
                                      << "id1011"
                                      << "id1017"
                                      << "id1023";
    QTest::newRow("no aspect") << 4 << 1 << 0 << 1 << "800"
                               << "600"
                               << "id1010"
                               << ""
                               << "id1020 id1021";
}

void SizeDialogTest::opensFromSettings() {
    QFETCH(int, base);
    QFETCH(int, method);
    QFETCH(int, aspect);
    QFETCH(int, rect);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, checkedRadio);
    QFETCH(QString, checkedRect);
    QFETCH(QString, enabledEdits);

    pelimon::AppSettings settings;
    settings.Base = base;
    settings.Method = method;
    settings.Aspect = aspect;
    settings.Rect = rect;
    settings.Width = width.toInt();
    settings.Height = height.toInt();
    settings.WidthRatio = width.toInt();
    settings.HeightRatio = height.toInt();
    CSetSize dialog(settings);

    const bool ratio = checkedRadio == "id1011";
    QCOMPARE(Edit(dialog, ratio ? "id1022" : "id1020"), width);
    QCOMPARE(Edit(dialog, ratio ? "id1023" : "id1021"), height);
    QVERIFY(Control<QRadioButton>(dialog, checkedRadio.toLatin1().constData())->isChecked());
    QCOMPARE(Control<QCheckBox>(dialog, "id1007")->isChecked(), checkedRect != "");
    for (const char* id : {"id1016", "id1017", "id1018"}) {
        QCOMPARE(Control(dialog, id)->isEnabled(), checkedRect != "");
    }
    if (!checkedRect.isEmpty()) {
        QVERIFY(Control<QRadioButton>(dialog, checkedRect.toLatin1().constData())->isChecked());
    }
    for (const char* id : {"id1020", "id1021", "id1022", "id1023"}) {
        QCOMPARE(Control(dialog, id)->isEnabled(), enabledEdits.split(' ').contains(QLatin1String(id)));
    }
    // Nothing is stored by merely opening.
    QCOMPARE(settings.Method, method);
}

void SizeDialogTest::okWithoutChangesKeepsPreset() {
    pelimon::AppSettings settings;
    settings.SizeString = "before";
    CSetSize dialog(settings);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings.Base, 1);
    QVERIFY(dialog.description().isEmpty());
    QCOMPARE(settings.SizeString, std::string("before"));
}

void SizeDialogTest::halvingLeavesPresetAndDescribesRule() {
    pelimon::AppSettings settings;
    CSetSize dialog(settings);
    Click(dialog, "id1000");
    QCOMPARE(Edit(dialog, "id1020"), QStringLiteral("320"));
    QCOMPARE(Edit(dialog, "id1021"), QStringLiteral("240"));
    QCOMPARE(settings.Width, 640);  // stored only by OK
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings.Base, 4);
    QCOMPARE(settings.Width, 320);
    QCOMPARE(settings.Height, 240);
    QCOMPARE(dialog.description(), QStringLiteral("領域指定 ： 320 x 240 pixel"));
    QCOMPARE(settings.SizeString, std::string("領域指定 ： 320 x 240 pixel"));
}

void SizeDialogTest::doubling_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("doubled");
    QTest::newRow("6000 px capped") << 1 << "6000"
                                    << "10496";
    QTest::newRow("5248 px exactly the cap") << 1 << "5248"
                                             << "10496";
    QTest::newRow("5000 px") << 1 << "5000"
                             << "10000";
    QTest::newRow("80 % uncapped") << 2 << "80"
                                   << "160";
    QTest::newRow("20000 % uncapped") << 2 << "20000"
                                      << "40000";
    QTest::newRow("huge % saturates") << 2 << "2000000000"
                                      << "2147483647";
    QTest::newRow("trailing text ignored") << 1 << "12abc"
                                           << "24";
}

void SizeDialogTest::doubling() {
    QFETCH(int, method);
    QFETCH(QString, typed);
    QFETCH(QString, doubled);
    pelimon::AppSettings settings = PixelRule(0, 1);
    settings.Method = method;
    CSetSize dialog(settings);
    const char* width = method == 1 ? "id1020" : "id1022";
    const char* height = method == 1 ? "id1021" : "id1023";
    Type(dialog, width, typed);
    Type(dialog, height, typed);
    Click(dialog, "id1001");
    QCOMPARE(Edit(dialog, width), doubled);
    QCOMPARE(Edit(dialog, height), doubled);
}

void SizeDialogTest::okChecksSizes_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("rect");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<bool>("valid");
    QTest::newRow("width 2624 passes") << 1 << 1 << 1 << "2624"
                                       << "0" << true;
    QTest::newRow("width 2625 fails") << 1 << 1 << 1 << "2625"
                                      << "0" << false;
    QTest::newRow("height 2624 passes") << 1 << 1 << 2 << "0"
                                        << "2624" << true;
    QTest::newRow("height 2625 fails") << 1 << 1 << 2 << "0"
                                       << "2625" << false;
    QTest::newRow("fit 2625 high fails") << 1 << 1 << 4 << "100"
                                         << "2625" << false;
    QTest::newRow("fit zero width fails") << 1 << 1 << 4 << "0"
                                          << "100" << false;
    QTest::newRow("width rule zero fails") << 1 << 1 << 1 << "0"
                                           << "100" << false;
    QTest::newRow("no aspect zero height, rect 1") << 1 << 0 << 1 << "100"
                                                   << "0" << false;
    QTest::newRow("no aspect zero height, rect 2") << 1 << 0 << 2 << "100"
                                                   << "0" << false;
    QTest::newRow("no aspect zero height, rect 4") << 1 << 0 << 4 << "100"
                                                   << "0" << false;
    QTest::newRow("no aspect height over the bound") << 1 << 0 << 1 << "100"
                                                     << "2625" << false;
    QTest::newRow("negative width") << 1 << 1 << 1 << "-5"
                                    << "0" << false;
    QTest::newRow("negative height without aspect") << 1 << 0 << 4 << "100"
                                                    << "-1" << false;
    QTest::newRow("percent without upper bound") << 2 << 1 << 4 << "5000"
                                                 << "9000" << true;
    QTest::newRow("negative percent") << 2 << 1 << 2 << "50"
                                      << "-50" << false;
    QTest::newRow("letters read as zero") << 1 << 1 << 1 << "abc"
                                          << "0" << false;
}

void SizeDialogTest::okChecksSizes() {
    QFETCH(int, method);
    QFETCH(int, aspect);
    QFETCH(int, rect);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(bool, valid);

    pelimon::AppSettings settings = PixelRule(aspect, rect);
    settings.Method = method;
    PromptLog log;
    CSetSize dialog(settings);
    dialog.setPrompt(Recording(log));
    Type(dialog, method == 1 ? "id1020" : "id1022", width);
    Type(dialog, method == 1 ? "id1021" : "id1023", height);
    dialog.accept();

    QCOMPARE(dialog.result(), int(valid ? QDialog::Accepted : QDialog::Rejected));
    if (valid) {
        QVERIFY(log.errors.empty());
        QCOMPARE(method == 1 ? settings.Width : settings.WidthRatio, width.toInt());
        QCOMPARE(method == 1 ? settings.Height : settings.HeightRatio, height.toInt());
    } else {
        QCOMPARE(log.errors.size(), size_t{1});
        QCOMPARE(log.errors[0].caption, QStringLiteral("画像サイズエラー"));
        QCOMPARE(log.errors[0].text,
                 QStringLiteral("画像サイズの指定が不正です。正しいサイズにセットし直して下さい。"));
        QCOMPARE(settings.Width, 640);
    }
}

void SizeDialogTest::okChecksDataSize_data() {
    QTest::addColumn<QString>("kilobytes");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0 KB") << "0" << QList<bool>{} << "データサイズが不正です。" << false << false;
    QTest::newRow("negative") << "-3" << QList<bool>{} << "データサイズが不正です。" << false << false;
    QTest::newRow("4999 KB silent") << "4999" << QList<bool>{} << "" << false << true;
    QTest::newRow("5000 KB, No") << "5000" << QList<bool>{false} << "" << true << false;
    QTest::newRow("5000 KB, Yes") << "5000" << QList<bool>{true} << "" << true << true;
}

void SizeDialogTest::okChecksDataSize() {
    QFETCH(QString, kilobytes);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, error);
    QFETCH(bool, asked);
    QFETCH(bool, accepted);

    pelimon::AppSettings settings;
    PromptLog log;
    log.answers.assign(answers.begin(), answers.end());
    CSetSize dialog(settings);
    dialog.setPrompt(Recording(log));
    Click(dialog, "id1008");
    QVERIFY(Control(dialog, "id1004")->isEnabled());
    Type(dialog, "id1004", kilobytes);
    dialog.accept();

    QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(log.errors.empty(), error.isEmpty());
    if (!error.isEmpty()) {
        QCOMPARE(log.errors[0].caption, QStringLiteral("エラー"));
        QCOMPARE(log.errors[0].text, error);
    }
    QCOMPARE(!log.questions.empty(), asked);
    if (asked) {
        QCOMPARE(log.questions[0].caption, QStringLiteral("確認"));
        QCOMPARE(log.questions[0].text,
                 QStringLiteral("データサイズが大きすぎるようです。正しくセットされていますか？"));
    }
    QCOMPARE(settings.SetSize, accepted ? 1 : 0);
    QCOMPARE(settings.DataSize, accepted ? kilobytes.toInt() : 50);
}

// Regression: a refused OK must not leave the refused values in the settings for a later Cancel.
void SizeDialogTest::refusedOkStoresNothing() {
    pelimon::AppSettings settings;
    PromptLog log;
    CSetSize dialog(settings);
    dialog.setPrompt(Recording(log));
    Click(dialog, "id1008");
    Type(dialog, "id1004", "0");
    Click(dialog, "id1011");
    dialog.accept();
    QCOMPARE(log.errors.size(), size_t{1});
    dialog.reject();
    QCOMPARE(settings.SetSize, 0);
    QCOMPARE(settings.DataSize, 50);
    QCOMPARE(settings.Method, 1);
    QCOMPARE(settings.Base, 1);
}

void SizeDialogTest::qualityEdit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("error");
    QTest::newRow("zero means one") << "0" << 1 << 1 << false;
    QTest::newRow("in range") << "75" << 75 << 75 << false;
    QTest::newRow("100") << "100" << 100 << 100 << false;
    QTest::newRow("101 refused") << "101" << 20 << 20 << true;
    QTest::newRow("negative refused") << "-4" << 20 << 20 << true;
}

void SizeDialogTest::qualityEdit() {
    QFETCH(QString, typed);
    QFETCH(int, slider);
    QFETCH(int, stored);
    QFETCH(bool, error);
    pelimon::AppSettings settings;
    settings.SetSize = 1;
    PromptLog log;
    CSetSize dialog(settings);
    dialog.setPrompt(Recording(log));
    Type(dialog, "id1024", typed);
    QCOMPARE(Control<QSlider>(dialog, "id1002")->value(), slider);
    QCOMPARE(Edit(dialog, "id1024"), typed);
    QCOMPARE(log.errors.size(), size_t{error ? 1u : 0u});
    if (error) {
        QCOMPARE(log.errors[0].text, QStringLiteral("1 ～ 100 の値を入力して下さい。"));
    }
    dialog.accept();
    QCOMPARE(settings.LimitQuality, stored);
}

void SizeDialogTest::qualitySliderAtZeroMeansOne() {
    pelimon::AppSettings settings;
    CSetSize dialog(settings);
    Control<QSlider>(dialog, "id1002")->setValue(0);
    QCOMPARE(Edit(dialog, "id1024"), QStringLiteral("1"));
    dialog.accept();
    QCOMPARE(settings.LimitQuality, 1);
}

void SizeDialogTest::uncheckingAspectWithMethod4KeepsIt() {
    pelimon::AppSettings settings = PixelRule(1, 1);
    settings.Method = 4;
    CSetSize dialog(settings);
    auto* aspect = Control<QCheckBox>(dialog, "id1007");
    aspect->click();
    QVERIFY(aspect->isChecked());
    QVERIFY(!Control(dialog, "id1016")->isEnabled());
}

void SizeDialogTest::pixEvenOnlyWithEvenMenu() {
    for (int even_menu : {0, 1}) {
        pelimon::AppSettings settings;
        settings.EvenMenu = even_menu;
        CSetSize dialog(settings);
        auto* box = Control<QCheckBox>(dialog, "id1009");
        QCOMPARE(box->isVisibleTo(&dialog), even_menu == 1);
        box->setChecked(true);
        dialog.accept();
        QCOMPARE(settings.PixEven, even_menu);
    }
}

void SizeDialogTest::descriptions_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("rect");
    QTest::addColumn<QString>("text");
    QTest::newRow("px width") << 1 << 1 << 1 << "幅固定 ： 800 pixel";
    QTest::newRow("px height") << 1 << 1 << 2 << "高さ固定 ： 600 pixel";
    QTest::newRow("px fit") << 1 << 1 << 4 << "領域指定 ： 800 x 600 pixel";
    QTest::newRow("px both") << 1 << 0 << 1 << "幅・高さ固定 ： 800 x 600 pixel";
    QTest::newRow("% width") << 2 << 1 << 1 << "幅固定 ： 30%";
    QTest::newRow("% height") << 2 << 1 << 2 << "高さ固定 ： 40%";
    QTest::newRow("% fit") << 2 << 1 << 4 << "領域指定 ： 30% x 40%";
    QTest::newRow("% both") << 2 << 0 << 4 << "幅・高さ固定 ： 30% x 40%";
}

void SizeDialogTest::descriptions() {
    QFETCH(int, method);
    QFETCH(int, aspect);
    QFETCH(int, rect);
    QFETCH(QString, text);
    pelimon::SizeWorkingCopy copy;
    copy.Base = 4;
    copy.Method = method;
    copy.Aspect = aspect;
    copy.Rect = rect;
    copy.Width = 800;
    copy.Height = 600;
    copy.WidthRatio = 30;
    copy.HeightRatio = 40;
    QCOMPARE(SizeDescriptionText(copy), text);
}

// The default prompts are real message boxes, answered as a person would: the bad size with OK,
// the data-size question with Enter, whose default button is Yes, so that OK goes on.
void SizeDialogTest::realMessageBoxesAreAnswered() {
    struct Case {
        const char* name;
        pelimon::AppSettings settings;
        const char* radio;  // clicked first, or nullptr
        const char* field;
        const char* typed;
        bool enter;  // answer with Enter rather than the OK button
        QString message;
        int result;
    };
    const Case cases[] = {
        {"bad size", PixelRule(1, 1), nullptr, "id1020", "0", false,
         QStringLiteral("画像サイズの指定が不正です。正しいサイズにセットし直して下さい。"), QDialog::Rejected},
        {"large data size", pelimon::AppSettings{}, "id1008", "id1004", "6000", true,
         QStringLiteral("データサイズが大きすぎるようです。正しくセットされていますか？"), QDialog::Accepted},
    };
    for (const Case& c : cases) {
        pelimon::AppSettings settings = c.settings;
        CSetSize dialog(settings);
        if (c.radio != nullptr) {
            Click(dialog, c.radio);
        }
        Type(dialog, c.field, c.typed);
        pelimon::test::ModalAnswerer<QMessageBox> answerer([&c](QMessageBox* box) {
            if (c.enter) {
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                box->button(QMessageBox::Ok)->click();
            }
        });
        dialog.accept();
        QVERIFY2(answerer.answered(), c.name);
        QCOMPARE(answerer.text(), c.message);
        QCOMPARE(dialog.result(), c.result);
    }
}

QTEST_MAIN(SizeDialogTest)
#include "size_dialog_qtest.moc"
