// The window in English: res/i18n/pelimon_en.ts gives every marked text of gui/, dialogs/ and
// controls/ its English and holds no other; no Japanese text escapes the marking; the compiled
// catalogue turns the window (and Qt's own texts) English, and without it the window is Japanese.
#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <functional>
#include <memory>

#include "dialogs/coptmain.h"
#include "dialogs/csetsize.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cproc_msg.h"
#include "gui/help_page.h"
#include "gui/qt_translations.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;

namespace {

const QString kSourceDir = QStringLiteral(PELIMON_SOURCE_DIR);

struct TsMessage {
    QString context;
    QString source;
    QString translation;
    QString type;  // the translation's type attribute: empty when finished
};

QList<TsMessage> ReadCatalogue() {
    QFile file(kSourceDir + QStringLiteral("/res/i18n/pelimon_en.ts"));
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read res/i18n/pelimon_en.ts");
    }
    QList<TsMessage> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({context, {}, {}, {}});
        } else if (xml.name() == QLatin1String("source")) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            messages.last().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.last().translation = xml.readElementText();
        }
    }
    if (xml.hasError()) {
        qFatal("res/i18n/pelimon_en.ts: %s", qPrintable(xml.errorString()));
    }
    return messages;
}

// The C++ sources of the window's folders, relative to the source folder, with their text.
QList<std::pair<QString, QString>> WindowSources() {
    QList<std::pair<QString, QString>> sources;
    for (const char* folder : {"gui", "dialogs", "controls"}) {
        QDirIterator files(kSourceDir + QLatin1Char('/') + QLatin1String(folder), {"*.h", "*.cpp"}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            file.open(QIODevice::ReadOnly);
            sources.append({QDir(kSourceDir).relativeFilePath(file.fileName()), QString::fromUtf8(file.readAll())});
        }
    }
    return sources;
}

// QT_TRANSLATE_NOOP("context", "text"): the context and the literal's text as written.
const QRegularExpression kMarked(
    QStringLiteral("QT_TRANSLATE_NOOP\\(\\s*\"([^\"]*)\"\\s*,\\s*\"((?:[^\"\\\\]|\\\\.)*)\"\\s*\\)"));

QString Unescape(const QString& literal) {
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] == QLatin1Char('\\') && i + 1 < literal.size()) {
            const QChar next = literal[++i];
            text += next == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : next;
        } else {
            text += literal[i];
        }
    }
    return text;
}

bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

// The string literals of C++ `code`, comments skipped.
QStringList StringLiterals(const QString& code) {
    QStringList literals;
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (code.mid(i, 2) == QLatin1String("//")) {
            i = code.indexOf(QLatin1Char('\n'), i);
            if (i < 0) {
                break;
            }
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            i = code.indexOf(QLatin1String("*/"), i);
            if (i < 0) {
                break;
            }
        } else if (code[i] == QLatin1Char('"') || code[i] == QLatin1Char('\'')) {
            const QChar quote = code[i];
            const qsizetype start = ++i;
            while (i < code.size() && code[i] != quote) {
                i += code[i] == QLatin1Char('\\') ? 2 : 1;
            }
            literals << code.mid(start, i - start);
        }
    }
    return literals;
}

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

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanupTestCase() { InstallTranslations(kJapanese); }

    void everyTextHasItsEnglish();
    void catalogueHoldsExactlyTheMarkedTexts();
    void noJapaneseTextOutsideTheMarking();
    void windowSpeaksTheInstalledLanguage_data();
    void windowSpeaksTheInstalledLanguage();
    void sizeSummaryOfTheOtherLanguageIsBuiltAgain_data();
    void sizeSummaryOfTheOtherLanguageIsBuiltAgain();
    void helpPageOfTheLanguage_data();
    void helpPageOfTheLanguage();
};

void TranslationsTest::everyTextHasItsEnglish() {
    const QList<TsMessage> messages = ReadCatalogue();
    QVERIFY(!messages.isEmpty());
    QStringList untranslated;
    for (const TsMessage& message : messages) {
        if (!message.type.isEmpty() || message.translation.trimmed().isEmpty()) {
            untranslated << message.context + QStringLiteral(": ") + message.source;
        }
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
}

// scripts/update-translations.sh was run after the last change of a text, and each header's texts
// are filed under the context its GuiText constants name (kContext).
void TranslationsTest::catalogueHoldsExactlyTheMarkedTexts() {
    QSet<QString> catalogue;
    for (const TsMessage& message : ReadCatalogue()) {
        catalogue.insert(message.context + QLatin1Char('|') + message.source);
    }
    const QRegularExpression declared_context(QStringLiteral("kContext\\[\\] = \"([^\"]*)\""));
    const QRegularExpression text_context(QStringLiteral("GuiText\\s+\\w+\\{(\\w+),"));
    QSet<QString> marked;
    QStringList problems;
    for (const auto& [file, code] : WindowSources()) {
        const QString context = declared_context.match(code).captured(1);
        for (const QRegularExpressionMatch& match : text_context.globalMatch(code)) {
            if (match.captured(1) != QLatin1String("kContext")) {
                problems << file + QStringLiteral(": a text outside its header's context");
            }
        }
        for (const QRegularExpressionMatch& match : kMarked.globalMatch(code)) {
            const QString key = match.captured(1) + QLatin1Char('|') + Unescape(match.captured(2));
            marked.insert(key);
            if (!context.isEmpty() && match.captured(1) != context) {
                problems << file + QStringLiteral(": context ") + match.captured(1) + QStringLiteral(" is not ") +
                                context;
            }
            if (!catalogue.contains(key)) {
                problems << file + QStringLiteral(": not in the catalogue: ") + key;
            }
        }
    }
    for (const QString& key : catalogue) {
        if (!marked.contains(key)) {
            problems << QStringLiteral("in the catalogue, gone from the sources: ") + key;
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TranslationsTest::noJapaneseTextOutsideTheMarking() {
    QStringList unmarked;
    for (const auto& [file, code] : WindowSources()) {
        for (const QString& literal : StringLiterals(QString(code).remove(kMarked))) {
            if (HasJapanese(literal)) {
                unmarked << file + QStringLiteral(": ") + literal;
            }
        }
    }
    QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char('\n'))));
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
                        << QStringLiteral("ファイルサイズ指定（JPEG・WebP・AVIF で保存時のみ有効）");
    QTest::newRow("en") << true << QStringLiteral("領域指定 ： 1600 x 1600 pixel") << "Fit into: 1600 x 1600 pixel"
                        << "Fit into: 1600 x 1600 pixel, at most 300 KB"
                        << "File size (JPEG, WebP and AVIF output only)";
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
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("english_page_installed");
    QTest::addColumn<QString>("page");
    QTest::newRow("Japanese") << false << true << "help/index.html";
    QTest::newRow("English") << true << true << "help/en/index.html";
    QTest::newRow("English page missing") << true << false << "help/index.html";
}

void TranslationsTest::helpPageOfTheLanguage() {
    QFETCH(bool, english);
    QFETCH(bool, english_page_installed);
    QFETCH(QString, page);
    QTemporaryDir program;
    const QDir folder(program.path());
    folder.mkpath(QStringLiteral("help/en"));
    QStringList pages{QStringLiteral("help/index.html")};
    if (english_page_installed) {
        pages << QStringLiteral("help/en/index.html");
    }
    for (const QString& name : pages) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString found = FindHelpPage(program.path(), english ? kEnglish : kJapanese);
    QCOMPARE(found, QFileInfo(folder.filePath(page)).absoluteFilePath());
}

QTEST_MAIN(TranslationsTest)
#include "translations_qtest.moc"
