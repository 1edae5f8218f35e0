// The options dialog: the enabling rules of its pages, the settings written at once, the two
// naming confirmations of OK, the number texts, and the keys that must not close it.
#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QtTest>

#include "batch/output_naming.h"
#include "dialogs/coptmain.h"
#include "dialogs/csetoption.h"
#include "dialogs/csetoption2.h"
#include "dialogs/csetoption3.h"
#include "dialogs/option_text.h"
#include "tests/dialogs/recording_prompt.h"

namespace {

// Controls are found within their page: the pages reuse ids.
template <class W = QWidget>
W* Control(QWidget& dialog, const char* page, const char* id) {
    QWidget* holder = dialog.findChild<QWidget*>(QString::fromLatin1(page));
    W* widget = holder ? holder->findChild<W*>(QString::fromLatin1(id)) : nullptr;
    if (widget == nullptr) {
        qFatal("no control %s on %s", id, page);
    }
    return widget;
}

constexpr char kGeneral[] = "CSetOption";
constexpr char kNames[] = "CSetOption2";
constexpr char kReduction[] = "CSetOption3";

QString EnabledNamingControls(QWidget& dialog) {
    QStringList enabled;
    for (const char* id : {"id1004", "id1006", "id1005", "id1009", "id1028", "id1010", "id1000"}) {
        if (Control(dialog, kNames, id)->isEnabled()) {
            enabled << QLatin1String(id);
        }
    }
    return enabled.join(' ');
}

}  // namespace

class OptionDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void exifBoxFollowsBigSize_data();
    void exifBoxFollowsBigSize();
    void noLocationFollowsExif_data();
    void noLocationFollowsExif();
    void namingEnabling_data();
    void namingEnabling();
    void paddingBoxSwitchesDigits();
    void namingConfirmations_data();
    void namingConfirmations();
    void slashInNameIsRefused();
    void clearNumberSurvivesCancel();
    void startNumberShownWithPattern_data();
    void startNumberShownWithPattern();
    void digitAndStartNumberWrittenAtOnce();
    void startNumberTakesDigitsOnly();
    void numberTexts_data();
    void numberTexts();
    void slidersRewriteTheirTexts();
    void okStoresEveryPage_data();
    void okStoresEveryPage();
    void keysDoNotClose_data();
    void keysDoNotClose();
};

void OptionDialogTest::exifBoxFollowsBigSize_data() {
    QTest::addColumn<int>("bigSize");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("exifEnabled");
    QTest::newRow("enlarge") << 1 << "" << true;
    QTest::newRow("exif only") << 4 << "" << false;
    QTest::newRow("exif only, then enlarge") << 4 << "id1010" << true;
    QTest::newRow("exif only, then nothing") << 4 << "id1011" << true;
    QTest::newRow("enlarge, then exif only") << 1 << "id1012" << false;
}

void OptionDialogTest::exifBoxFollowsBigSize() {
    QFETCH(int, bigSize);
    QFETCH(QString, clicked);
    QFETCH(bool, exifEnabled);
    pelimon::AppSettings settings;
    settings.BigSize = bigSize;
    COptMain dialog(settings);
    if (!clicked.isEmpty()) {
        Control<QRadioButton>(dialog, kGeneral, clicked.toLatin1().constData())->click();
    }
    QCOMPARE(Control(dialog, kGeneral, "id1008")->isEnabled(), exifEnabled);
}

void OptionDialogTest::noLocationFollowsExif_data() {
    QTest::addColumn<int>("exif");
    QTest::addColumn<int>("bigSize");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Exif kept") << 1 << 1 << "" << true;
    QTest::newRow("Exif dropped") << 0 << 1 << "" << false;
    QTest::newRow("Exif kept, then unticked") << 1 << 1 << "id1008" << false;
    QTest::newRow("Exif dropped, then ticked") << 0 << 1 << "id1008" << true;
    QTest::newRow("Exif only removed") << 1 << 4 << "" << false;
    QTest::newRow("Exif only, then enlarge") << 1 << 4 << "id1010" << true;
    QTest::newRow("enlarge, then Exif only") << 1 << 1 << "id1012" << false;
}

// 位置情報を削除する is enabled only while the Exif box is kept (enabled and ticked); its state is
// stored at OK whatever the enabling.
void OptionDialogTest::noLocationFollowsExif() {
    QFETCH(int, exif);
    QFETCH(int, bigSize);
    QFETCH(QString, clicked);
    QFETCH(bool, enabled);
    pelimon::AppSettings settings;
    settings.Exif = exif;
    settings.BigSize = bigSize;
    settings.NoLocation = 1;
    COptMain dialog(settings);
    if (!clicked.isEmpty()) {
        Control<QAbstractButton>(dialog, kGeneral, clicked.toLatin1().constData())->click();
    }
    auto* box = Control<QCheckBox>(dialog, kGeneral, "id1014");
    QCOMPARE(box->text(), QString::fromUtf8("位置情報を削除する"));
    // In the Exif group, below the Exif box and after 色を sRGB に変換する, as in the settings file.
    QLayout* group = box->parentWidget()->layout();
    QCOMPARE(group->indexOf(box), group->count() - 1);
    QCOMPARE(group->indexOf(Control(dialog, kGeneral, "toSrgb")), group->count() - 2);
    QCOMPARE(group->indexOf(Control(dialog, kGeneral, "id1008")), 0);
    QCOMPARE(box->isChecked(), true);
    QCOMPARE(box->isEnabled(), enabled);
    dialog.accept();
    QCOMPARE(settings.NoLocation, 1);
}

void OptionDialogTest::namingEnabling_data() {
    QTest::addColumn<int>("nameRule");
    QTest::addColumn<int>("padding");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("otherRadio");
    QTest::addColumn<QString>("enabledAfterSwitch");
    const QString serial_padded = QStringLiteral("id1006 id1005 id1009 id1028 id1010 id1000");
    const QString serial_plain = QStringLiteral("id1006 id1005 id1009 id1010 id1000");
    QTest::newRow("append") << 1 << 1 << "id1004"
                            << "id1017" << serial_padded;
    QTest::newRow("prepend") << 4 << 0 << "id1004"
                             << "id1017" << serial_plain;
    QTest::newRow("serial, padded") << 2 << 1 << serial_padded << "id1018"
                                    << "id1004";
    QTest::newRow("serial, not padded") << 2 << 0 << serial_plain << "id1016"
                                        << "id1004";
}

void OptionDialogTest::namingEnabling() {
    QFETCH(int, nameRule);
    QFETCH(int, padding);
    QFETCH(QString, enabled);
    QFETCH(QString, otherRadio);
    QFETCH(QString, enabledAfterSwitch);
    pelimon::AppSettings settings;
    settings.NameRule = nameRule;
    settings.ZeroPadding = padding;
    COptMain dialog(settings);
    dialog.findChild<QTabWidget*>("id1035")->setCurrentIndex(1);
    QCOMPARE(EnabledNamingControls(dialog), enabled);
    Control<QRadioButton>(dialog, kNames, otherRadio.toLatin1().constData())->click();
    QCOMPARE(EnabledNamingControls(dialog), enabledAfterSwitch);
}

// Regression: the digit count follows the padding box as it stands, also after a tab change.
void OptionDialogTest::paddingBoxSwitchesDigits() {
    pelimon::AppSettings settings;  // serial numbers, padded
    COptMain dialog(settings);
    auto* tabs = dialog.findChild<QTabWidget*>("id1035");
    tabs->setCurrentIndex(1);
    Control<QCheckBox>(dialog, kNames, "id1009")->click();
    QVERIFY(!Control(dialog, kNames, "id1028")->isEnabled());
    tabs->setCurrentIndex(2);
    tabs->setCurrentIndex(1);
    QVERIFY(!Control(dialog, kNames, "id1028")->isEnabled());
    Control<QCheckBox>(dialog, kNames, "id1009")->click();
    QVERIFY(Control(dialog, kNames, "id1028")->isEnabled());
}

void OptionDialogTest::namingConfirmations_data() {
    QTest::addColumn<int>("nameRule");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("addText");
    QTest::addColumn<QString>("baseName");
    const QString same = QStringLiteral("元画像と同じファイル名で縮小します。よろしいですか？");
    const QString base = QStringLiteral("基本名を resize とします。よろしいですか？");
    QTest::newRow("append, Yes") << 1 << true << "命名規則確認" << same << true << ""
                                 << "keep";
    QTest::newRow("append, No") << 1 << false << "命名規則確認" << same << false << "s"
                                << "keep";
    QTest::newRow("prepend, Yes") << 4 << true << "命名規則確認" << same << true << ""
                                  << "keep";
    QTest::newRow("serial, Yes") << 2 << true << "基本名確認" << base << true << "s"
                                 << "resize";
    QTest::newRow("serial, No") << 2 << false << "基本名確認" << base << false << "s"
                                << "keep";
}

void OptionDialogTest::namingConfirmations() {
    QFETCH(int, nameRule);
    QFETCH(bool, answer);
    QFETCH(QString, caption);
    QFETCH(QString, question);
    QFETCH(bool, accepted);
    QFETCH(QString, addText);
    QFETCH(QString, baseName);

    pelimon::AppSettings settings;
    settings.NameRule = nameRule == 2 ? 1 : 2;  // the page's radio decides
    settings.BaseName = "keep";
    settings.Reduction = 0;
    PromptLog log;
    log.answers.push_back(answer);
    COptMain dialog(settings);
    dialog.setPrompt(Recording(log));
    const char* radio = nameRule == 1 ? "id1016" : nameRule == 4 ? "id1018" : "id1017";
    Control<QRadioButton>(dialog, kNames, radio)->click();
    Control<QLineEdit>(dialog, kNames, nameRule == 2 ? "id1006" : "id1004")->clear();
    Control<QRadioButton>(dialog, kReduction, "id1012")->click();
    dialog.accept();

    QCOMPARE(log.questions.size(), size_t{1});
    QCOMPARE(log.questions[0].caption, caption);
    QCOMPARE(log.questions[0].text, question);
    QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(QString::fromStdString(settings.AddText), addText);
    QCOMPARE(QString::fromStdString(settings.BaseName), baseName);
    // A declined question stores nothing of any page.
    QCOMPARE(settings.NameRule, accepted ? nameRule : (nameRule == 2 ? 1 : 2));
    QCOMPARE(settings.Reduction, accepted ? 2 : 0);
}

void OptionDialogTest::slashInNameIsRefused() {
    for (const char* radio : {"id1016", "id1017"}) {
        pelimon::AppSettings settings;
        PromptLog log;
        COptMain dialog(settings);
        dialog.setPrompt(Recording(log));
        Control<QRadioButton>(dialog, kNames, radio)->click();
        Control<QLineEdit>(dialog, kNames, radio == std::string("id1016") ? "id1004" : "id1006")->setText("../x");
        dialog.accept();
        QCOMPARE(log.errors.size(), size_t{1});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.AddText, std::string("s"));
        QCOMPARE(settings.BaseName, std::string("resize"));
    }
}

void OptionDialogTest::clearNumberSurvivesCancel() {
    pelimon::AppSettings settings;
    settings.ImageNum = 37;
    COptMain dialog(settings);
    Control<QPushButton>(dialog, kNames, "id1000")->click();
    dialog.reject();
    QCOMPARE(settings.ImageNum, 0);
}

void OptionDialogTest::startNumberShownWithPattern_data() {
    QTest::addColumn<int>("startNum");
    QTest::addColumn<int>("digit");
    QTest::addColumn<bool>("padded");
    QTest::addColumn<QString>("shown");
    QTest::newRow("padded 4") << 1 << 4 << true << "0001";
    QTest::newRow("blank-filled 4") << 1 << 4 << false << "1   ";
    QTest::newRow("wider than digits") << 12345 << 3 << true << "12345";
    QTest::newRow("one digit") << 7 << 1 << true << "7";
    QTest::newRow("nine digits") << 42 << 9 << true << "000000042";
    // Digit from a settings or parameter file beyond the drop-down's 1..9: the names' rule.
    QTest::newRow("twelve digits") << 42 << 12 << true << "000000000042";
    QTest::newRow("negative digit aligns left") << 42 << -4 << true << "42  ";
}

void OptionDialogTest::startNumberShownWithPattern() {
    QFETCH(int, startNum);
    QFETCH(int, digit);
    QFETCH(bool, padded);
    QFETCH(QString, shown);
    pelimon::AppSettings settings;
    settings.StartNum = startNum;
    settings.Digit = digit;
    settings.ZeroPadding = padded ? 1 : 0;
    COptMain dialog(settings);
    QCOMPARE(Control<QLineEdit>(dialog, kNames, "id1005")->text(), shown);
    QCOMPARE(settings.StartNum, startNum);
    // The page shows the number the first output name carries.
    settings.NameRule = pelimon::kNameSerial;
    settings.BaseName.clear();
    settings.ImageNum = 0;
    pelimon::ImageJob job;
    pelimon::BuildOutputName(settings, "/out/", job, 0);
    QCOMPARE(QString::fromStdString(job.DestName), shown);
}

void OptionDialogTest::digitAndStartNumberWrittenAtOnce() {
    pelimon::AppSettings settings;
    COptMain dialog(settings);
    Control<QComboBox>(dialog, kNames, "id1028")->setCurrentIndex(5);
    QCOMPARE(settings.Digit, 6);
    QCOMPARE(Control<QLineEdit>(dialog, kNames, "id1005")->text(), QStringLiteral("000001"));
    Control<QLineEdit>(dialog, kNames, "id1005")->setText("25");
    QCOMPARE(settings.StartNum, 25);
    Control<QCheckBox>(dialog, kNames, "id1009")->click();
    QCOMPARE(Control<QLineEdit>(dialog, kNames, "id1005")->text(), QStringLiteral("25    "));
    dialog.reject();
    QCOMPARE(settings.Digit, 6);
    QCOMPARE(settings.StartNum, 25);
    QCOMPARE(settings.ZeroPadding, 1);  // the box is read only by OK
}

void OptionDialogTest::startNumberTakesDigitsOnly() {
    pelimon::AppSettings settings;
    COptMain dialog(settings);
    auto* edit = Control<QLineEdit>(dialog, kNames, "id1005");
    edit->clear();
    QTest::keyClicks(edit, "12a-3.");
    QCOMPARE(edit->text(), QStringLiteral("123"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QCOMPARE(settings.StartNum, 12);
}

void OptionDialogTest::numberTexts_data() {
    QTest::addColumn<bool>("gain");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("gain 15") << true << 15 << "1.5";
    QTest::newRow("gain 0") << true << 0 << "0.0";
    QTest::newRow("gain 40") << true << 40 << "4.0";
    QTest::newRow("contrast -5") << false << -5 << "-5 ";
    QTest::newRow("contrast 0") << false << 0 << "0  ";
    QTest::newRow("contrast 128") << false << 128 << "128";
    QTest::newRow("contrast -128") << false << -128 << "-128";
}

void OptionDialogTest::numberTexts() {
    QFETCH(bool, gain);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(gain ? pelimon::GainText(value) : pelimon::ContrastText(value)), text);
}

void OptionDialogTest::slidersRewriteTheirTexts() {
    pelimon::AppSettings settings;
    settings.Contrast = -5;
    COptMain dialog(settings);
    QCOMPARE(Control<QLineEdit>(dialog, kReduction, "id1005")->text(), QStringLiteral("1.5"));
    QCOMPARE(Control<QLineEdit>(dialog, kReduction, "id1004")->text(), QStringLiteral("-5 "));
    Control<QSlider>(dialog, kReduction, "id1037")->setValue(23);
    Control<QSlider>(dialog, kReduction, "id1002")->setValue(64);
    QCOMPARE(Control<QLineEdit>(dialog, kReduction, "id1005")->text(), QStringLiteral("2.3"));
    QCOMPARE(Control<QLineEdit>(dialog, kReduction, "id1004")->text(), QStringLiteral("64 "));
    QCOMPARE(settings.Gain, 15);  // only OK stores
    // The gain controls follow the sharpen box.
    QVERIFY(!Control(dialog, kReduction, "id1037")->isEnabled());
    Control<QCheckBox>(dialog, kReduction, "id1007")->click();
    for (const char* id : {"id1037", "id1005", "id1038"}) {
        QVERIFY(Control(dialog, kReduction, id)->isEnabled());
    }
    dialog.accept();
    QCOMPARE(settings.Gain, 23);
    QCOMPARE(settings.Contrast, 64);
    QCOMPARE(settings.Effect, 1);
}

void OptionDialogTest::okStoresEveryPage_data() {
    QTest::addColumn<QString>("reductionRadio");
    QTest::addColumn<int>("reduction");
    QTest::newRow("area average 1") << "id1010" << 0;
    QTest::newRow("area average 2") << "id1011" << 1;
    QTest::newRow("sampling") << "id1012" << 2;
}

void OptionDialogTest::okStoresEveryPage() {
    QFETCH(QString, reductionRadio);
    QFETCH(int, reduction);
    pelimon::AppSettings settings;
    settings.Effect = 0x1F2;  // bits above the low byte are dropped, the unused ones of it kept
    settings.BigSize = 0;     // no radio checked: the setting stays
    COptMain dialog(settings);
    for (const char* id : {"id1007", "id1009", "id1013"}) {
        Control<QCheckBox>(dialog, kGeneral, id)->click();
    }
    Control<QCheckBox>(dialog, kGeneral, "autoRotate")->click();
    Control<QCheckBox>(dialog, kGeneral, "toSrgb")->click();
    Control<QRadioButton>(dialog, kGeneral, "id1017")->click();
    Control<QCheckBox>(dialog, kGeneral, "id1057")->click();
    Control<QCheckBox>(dialog, kGeneral, "id1056")->click();
    Control<QCheckBox>(dialog, kNames, "id1010")->click();
    Control<QRadioButton>(dialog, kReduction, reductionRadio.toLatin1().constData())->click();
    Control<QCheckBox>(dialog, kReduction, "id1009")->click();
    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(settings.DragDrop, 1);
    QCOMPARE(settings.ExifDate, 1);
    QCOMPARE(settings.Equal, 0);
    QCOMPARE(settings.AutoRotate, 0);
    QCOMPARE(settings.ToSRGB, 0);
    QCOMPARE(settings.BigSize, 0);
    QCOMPARE(settings.Resize, 1);
    QCOMPARE(settings.Flat, 1);
    QCOMPARE(settings.Update, 1);
    QCOMPARE(settings.SaveNum, 0);
    QCOMPARE(settings.Reduction, reduction);
    QCOMPARE(settings.Effect, 0xF2 | 4);
}

void OptionDialogTest::keysDoNotClose_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::newRow("Enter in an edit") << int(Qt::Key_Return) << "id1006";
    QTest::newRow("keypad Enter in an edit") << int(Qt::Key_Enter) << "id1006";
    QTest::newRow("Escape in an edit") << int(Qt::Key_Escape) << "id1006";
    QTest::newRow("Enter on 番号クリア") << int(Qt::Key_Return) << "id1000";
}

void OptionDialogTest::keysDoNotClose() {
    QFETCH(int, key);
    QFETCH(QString, focus);
    pelimon::AppSettings settings;
    settings.ImageNum = 5;
    COptMain dialog(settings);
    dialog.show();
    dialog.findChild<QTabWidget*>("id1035")->setCurrentIndex(1);
    QWidget* target = Control(dialog, kNames, focus.toLatin1().constData());
    QTest::keyClick(target, Qt::Key(key));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(settings.ImageNum, 5);
    QTest::keyClick(dialog.findChild<QPushButton*>("id1"), Qt::Key(key));
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(OptionDialogTest)
#include "option_dialog_qtest.moc"
