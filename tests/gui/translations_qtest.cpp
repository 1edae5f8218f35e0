// The window in each language: the catalogue translator and Qt's own catalogue turn the window
// (and Qt's texts) English or Japanese; a language added as one more catalogue (the tests'
// pseudo-translation "xx", every message in brackets) reaches every text of every dialog; the size
// summary and the help page follow the language.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "common/language.h"
#include "common/message.h"
#include "controls/cabout_dlg.h"
#include "controls/confirm_dialogs.h"
#include "dialogs/coptmain.h"
#include "dialogs/csetsize.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cproc_msg.h"
#include "gui/help_page.h"
#include "gui/qt_translations.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;

namespace {

constexpr char kPseudoLanguage[] = "xx";

std::unique_ptr<QWidget> MakeWindow(const QString& kind, AppSettings& settings) {
    if (kind == QLatin1String("main")) {
        return std::make_unique<CpelimonDlg>(settings);
    }
    if (kind == QLatin1String("options")) {
        return std::make_unique<COptMain>(settings);
    }
    if (kind == QLatin1String("size")) {
        return std::make_unique<CSetSize>(settings);
    }
    auto progress = std::make_unique<CProcMsg>(nullptr);
    progress->UpdateProgress(1, 2);
    return progress;
}

// The text of the control `path` names: "id1001", or "CSetOption/id1008" for a control of a page.
QString ControlText(QWidget& window, const QString& path) {
    QWidget* control = &window;
    for (const QString& name : path.split(QLatin1Char('/'))) {
        control = control->findChild<QWidget*>(name);
        if (control == nullptr) {
            qFatal("control %s missing", qPrintable(path));
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    return qobject_cast<QLabel*>(control)->text();
}

// Every text a person reads in `window` and its children: titles, labels, buttons, group boxes,
// tabs, list headers, combo box items, tool tips, and the line edits' placeholders.
QStringList VisibleTexts(QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        texts << widget->toolTip();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            texts << label->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            texts << group->title();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            texts << edit->placeholderText();
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                texts << tabs->tabText(i);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                texts << combo->itemText(i);
            }
        } else if (auto* view = qobject_cast<QAbstractItemView*>(widget); view != nullptr && view->model()) {
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                texts << view->model()->headerData(column, Qt::Horizontal).toString();
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}

// The windows and dialogs of the program, made afresh in the installed language.
const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>(AppSettings&)>>> kWindows = {
    {"main", [](AppSettings& s) { return std::unique_ptr<QWidget>(std::make_unique<CpelimonDlg>(s)); }},
    {"size", [](AppSettings& s) { return std::unique_ptr<QWidget>(std::make_unique<CSetSize>(s)); }},
    {"options", [](AppSettings& s) { return std::unique_ptr<QWidget>(std::make_unique<COptMain>(s)); }},
    {"progress", [](AppSettings& s) { return MakeWindow(QStringLiteral("progress"), s); }},
    {"about", [](AppSettings&) { return std::unique_ptr<QWidget>(std::make_unique<CAboutDlg>()); }},
    {"confirm",
     [](AppSettings& s) { return std::unique_ptr<QWidget>(std::make_unique<CConfirm>(s.Confirm, nullptr)); }},
};

QStringList TextsOf(const char* language, const char* window) {
    for (const auto& [name, make] : kWindows) {
        if (QLatin1String(name) == QLatin1String(window)) {
            if (!InstallTranslations(language) && QLatin1String(language) != QLatin1String(kPseudoLanguage)) {
                qFatal("cannot install the catalogues of %s", language);
            }
            QTemporaryDir root;
            AppSettings settings = test::TestSettings(root);
            const std::unique_ptr<QWidget> shown = make(settings);
            return VisibleTexts(*shown);
        }
    }
    qFatal("no window %s", window);
}

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(SetLanguage(kPseudoLanguage, {PELIMON_BUILD_LOCALE_DIR})); }
    void cleanupTestCase() { InstallTranslations(kJapanese); }

    void addedLanguageReachesEveryText_data();
    void addedLanguageReachesEveryText();
    void windowSpeaksTheInstalledLanguage_data();
    void windowSpeaksTheInstalledLanguage();
    void sizeSummaryOfTheOtherLanguageIsBuiltAgain_data();
    void sizeSummaryOfTheOtherLanguageIsBuiltAgain();
    void helpPageOfTheLanguage_data();
    void helpPageOfTheLanguage();
};

void TranslationsTest::addedLanguageReachesEveryText_data() {
    QTest::addColumn<QString>("window");
    for (const auto& window : kWindows) {
        QTest::newRow(window.first) << QString::fromLatin1(window.first);
    }
}

// In the pseudo-translation every text of the window is its English in brackets (texts made of
// several messages nest them; texts that are no message, such as "OK" or "BMP", stay as they are):
// no text is left Japanese or in another wording than the English window's.
void TranslationsTest::addedLanguageReachesEveryText() {
    QFETCH(QString, window);
    const QByteArray name = window.toLatin1();
    const QStringList english = TextsOf("en", name.constData());
    const QStringList pseudo = TextsOf(kPseudoLanguage, name.constData());
    QCOMPARE(pseudo.size(), english.size());
    int bracketed = 0;
    for (qsizetype i = 0; i < pseudo.size(); ++i) {
        QString unbracketed = pseudo[i];
        unbracketed.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        QCOMPARE(unbracketed, english[i]);
        QVERIFY2(!HoldsJapanese(pseudo[i].toStdString()), qPrintable(pseudo[i]));
        bracketed += pseudo[i].startsWith(QLatin1Char('[')) ? 1 : 0;
    }
    QVERIFY2(bracketed > 0, qPrintable(pseudo.join(QLatin1Char('|'))));
}

void TranslationsTest::windowSpeaksTheInstalledLanguage_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("text");
    const struct {
        const char* window;
        const char* id;
        const char* japanese;
        const char* english;
    } rows[] = {
        {"main", "id1001", "実行", "Run"},
        {"main", "id1015", "設定", "Set..."},
        {"options", "CSetOption/id1008", "Exif 情報は残したままにする", "Keep the Exif information"},
        {"size", "id1010", "画像サイズを指定する（ピクセル単位）", "Size in pixels"},
        {"progress", "id1030", " 50.0 % 完了", " 50.0 % done"},
    };
    for (const auto& row : rows) {
        const QString name = QStringLiteral("%1 %2").arg(QLatin1String(row.window), QLatin1String(row.id));
        QTest::newRow(qPrintable(name + " ja")) << false << row.window << row.id << QString::fromUtf8(row.japanese);
        QTest::newRow(qPrintable(name + " en")) << true << row.window << row.id << QString::fromUtf8(row.english);
    }
}

void TranslationsTest::windowSpeaksTheInstalledLanguage() {
    QFETCH(bool, english);
    QFETCH(QString, window);
    QFETCH(QString, id);
    QFETCH(QString, text);
    QVERIFY(InstallTranslations(english ? kEnglish : kJapanese));
    QTemporaryDir root;
    AppSettings settings = test::TestSettings(root);
    const std::unique_ptr<QWidget> shown = MakeWindow(window, settings);
    QCOMPARE(ControlText(*shown, id), text);
    // Qt's own texts go with the window: English without Qt's Japanese catalogue.
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text() == QLatin1String("&Yes"), english);
}

void TranslationsTest::sizeSummaryOfTheOtherLanguageIsBuiltAgain_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("stored");  // SizeString as the other language's window saved it
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("file_size_group");
    QTest::newRow("ja") << false << "Fit into: 1600 x 1600 pixel" << QStringLiteral("領域指定 ： 1600 x 1600 pixel")
                        << QStringLiteral("領域指定 ： 1600 x 1600 pixel、300 KB 以内")
                        << QStringLiteral("ファイルサイズ指定（JPEG・WebP・AVIF・JPEG XL で保存時のみ有効）");
    QTest::newRow("en") << true << QStringLiteral("領域指定 ： 1600 x 1600 pixel") << "Fit into: 1600 x 1600 pixel"
                        << "Fit into: 1600 x 1600 pixel, at most 300 KB"
                        << "File size (JPEG, WebP, AVIF and JPEG XL output only)";
}

// The main window's size summary comes from the rule's settings in the window's language, with the
// target file size when one is set; the size dialog says which formats the target serves.
void TranslationsTest::sizeSummaryOfTheOtherLanguageIsBuiltAgain() {
    QFETCH(bool, english);
    QFETCH(QString, stored);
    QFETCH(QString, rule);
    QFETCH(QString, summary);
    QFETCH(QString, file_size_group);
    QVERIFY(InstallTranslations(english ? kEnglish : kJapanese));
    QTemporaryDir root;
    AppSettings settings = test::TestSettings(root);
    settings.Base = kBaseCustom;
    settings.Method = kMethodPixels;
    settings.Aspect = kAspectKeep;
    settings.Rect = kRectFitInto;
    settings.Width = 1600;
    settings.Height = 1600;
    settings.SizeString = stored.toStdString();
    settings.SetSize = kOn;
    settings.DataSize = 300;
    {
        CpelimonDlg window(settings);
        QCOMPARE(ControlText(window, "id1014"), summary);
        QCOMPARE(QString::fromStdString(settings.SizeString), rule);
    }
    settings.SetSize = kOff;
    CpelimonDlg window(settings);
    QCOMPARE(ControlText(window, "id1014"), rule);
    CSetSize dialog(settings);
    QCOMPARE(dialog.findChild<QWidget*>("id1008")->parentWidget()->property("title").toString(), file_size_group);
}

void TranslationsTest::helpPageOfTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("installed");  // the pages beside the program
    QTest::addColumn<QString>("page");
    const QStringList all{"help/index.html", "help/en/index.html", "help/de/index.html"};
    QTest::newRow("Japanese") << "ja" << all << "help/index.html";
    QTest::newRow("English") << "en" << all << "help/en/index.html";
    QTest::newRow("English page missing") << "en" << QStringList{"help/index.html"} << "help/index.html";
    QTest::newRow("a language with its page") << "de" << all << "help/de/index.html";
    QTest::newRow("a language without one") << "xx" << all << "help/en/index.html";
}

void TranslationsTest::helpPageOfTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QStringList, installed);
    QFETCH(QString, page);
    QTemporaryDir program;
    const QDir folder(program.path());
    for (const QString& name : installed) {
        folder.mkpath(QFileInfo(name).path());
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString found = FindHelpPage(program.path(), language.toStdString());
    QCOMPARE(found, QFileInfo(folder.filePath(page)).absoluteFilePath());
}

QTEST_MAIN(TranslationsTest)
#include "translations_qtest.moc"
