// The Exif information dialog: the rows it lists for files with and without the optional
// directories, their colours, the clipboard text, and the Exif button's messages.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "common/text.h"
#include "controls/clistctrl_styled.h"
#include "dialogs/cexif_dialog.h"
#include "dialogs/cexif_dialog_texts.h"
#include "exif/exif_list_rows.h"
#include "exif/exif_reader.h"

namespace {

const QString kCorpus = QStringLiteral(PELIMON_TEST_DATA_DIR "/camera/");
const QString kModern = QStringLiteral(PELIMON_TEST_DATA_DIR "/modern/");

// Fails the calling test, naming the file, when a test file is missing.
#define VERIFY_TEST_FILE(path) QVERIFY2(QFile::exists(path), qPrintable("missing test file " + (path)))

// A JPEG with an Exif segment whose IFD0 holds one entry (Make, "Abc") and neither a sub-IFD
// pointer nor an IFD1 link.
QByteArray JpegWithoutSubIfd() {
    const QByteArray tiff = QByteArray("II*\0", 4) + QByteArray("\x08\0\0\0", 4) +  // header, IFD0 at 8
                            QByteArray("\x01\0", 2) +                               // one entry
                            QByteArray("\x0f\x01\x02\0\x04\0\0\0Abc\0", 12) +       // 0x010F ASCII 4
                            QByteArray("\0\0\0\0", 4);                              // no IFD1
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const auto length = static_cast<int>(payload.size() + 2);
    QByteArray jpeg("\xFF\xD8\xFF\xE1", 4);
    jpeg += static_cast<char>(length >> 8);
    jpeg += static_cast<char>(length & 0xFF);
    jpeg += payload;
    jpeg += QByteArray("\xFF\xD9", 2);
    return jpeg;
}

// The text of a cell as the list shows it.
QString CellText(const CListCtrlStyled* list, int row, int column) {
    return list->model()->index(row, column).data().toString();
}

QStringList ListRows(CExifDialog& dialog) {
    auto* list = dialog.findChild<CListCtrlStyled*>("id1006");
    QStringList rows;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        rows << CellText(list, row, 0) + "|" + CellText(list, row, 1);
    }
    return rows;
}

QStringList GroupRows(const QStringList& rows) {
    QStringList groups;
    for (const QString& row : rows) {
        if (row.startsWith(QStringLiteral("▼"))) {
            groups << row.chopped(1);
        }
    }
    return groups;
}

}  // namespace

class ExifDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void rowsOfFiles_data();
    void rowsOfFiles();
    void groupRowsAreColoured();
    void entriesAreNamedInTheirOwnGroup_data();
    void entriesAreNamedInTheirOwnGroup();
    void columnsFitTheirContentsOnceShown();
    void clipboardLayout_data();
    void clipboardLayout();
    void clipboardTextOfFiles_data();
    void clipboardTextOfFiles();
    void copyButtonFillsClipboard();
    void buttonMessages_data();
    void buttonMessages();

  private:
    QTemporaryDir dir_;
    QString no_sub_path_;
};

void ExifDialogTest::initTestCase() {
    QVERIFY(dir_.isValid());
    no_sub_path_ = dir_.filePath("no-sub-ifd.jpg");
    QFile file(no_sub_path_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(JpegWithoutSubIfd());
}

void ExifDialogTest::rowsOfFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("groups");
    const QString main = QStringLiteral("▼ メイン IFD 情報");
    const QString sub = QStringLiteral("▼ サブ IFD 情報");
    const QString interop = QStringLiteral("▼ Interoperability 情報");
    const QString thumb = QStringLiteral("▼ サムネイル IFD 情報");
    const QString gps = QStringLiteral("▼ GPS 情報");
    // Row counts: entries of the reference dumps (and of the GPS IFD, which they leave out) plus one
    // group row per directory shown.
    QTest::newRow("no sub-IFD pointer") << "" << 1 + 1 + 1 << QStringList{main, sub};
    QTest::newRow("sub-IFD, no interop, IFD1")
        << "ii-app1-nointerop-thumb-long-sanyo.jpg" << 11 + 20 + 6 + 3 << QStringList{main, sub, thumb};
    QTest::newRow("sub-IFD, GPS, no interop, no IFD1")
        << "ii-app1-gps-nointerop-nothumb-nikon.jpg" << 50 + 2 + 1 + 2 << QStringList{main, sub, gps};
    QTest::newRow("every directory") << "ii-app1-interop-thumb-long-minolta.jpg" << 43 + 4
                                     << QStringList{main, sub, interop, thumb};
    QTest::newRow("big endian, after APP0")
        << "mm-app0-interop-thumb-short-usercomment-canon.jpg" << 55 + 4 << QStringList{main, sub, interop, thumb};
}

void ExifDialogTest::rowsOfFiles() {
    QFETCH(QString, file);
    QFETCH(int, rows);
    QFETCH(QStringList, groups);
    const QString path = file.isEmpty() ? no_sub_path_ : kCorpus + file;
    VERIFY_TEST_FILE(path);
    CExifDialog dialog(path.toStdString());
    const QStringList listed = ListRows(dialog);
    QCOMPARE(listed.size(), rows);
    QCOMPARE(GroupRows(listed), groups);
    QCOMPARE(listed.first(), groups.first() + "|");
    if (file.isEmpty()) {
        QCOMPARE(listed[1].section('|', 1), QStringLiteral("Abc"));
        QCOMPARE(listed.last(), QStringLiteral("▼ サブ IFD 情報|"));
    }
}

void ExifDialogTest::entriesAreNamedInTheirOwnGroup_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("row");  // "name|value"
    const QString main = QStringLiteral("▼ メイン IFD 情報");
    const QString sub = QStringLiteral("▼ サブ IFD 情報");
    const QString gps = QStringLiteral("▼ GPS 情報");
    const QString thumb = QStringLiteral("▼ サムネイル IFD 情報");
    const QString minolta = kCorpus + "ii-app1-interop-thumb-long-minolta.jpg";
    QTest::newRow("IFD0 resolution is the image's") << minolta << main << QStringLiteral("横方向解像度|72/1");
    QTest::newRow("IFD0 vertical resolution") << minolta << main << QStringLiteral("縦方向解像度|72/1");
    QTest::newRow("IFD1 resolution is the thumbnail's")
        << minolta << thumb << QStringLiteral("サムネイル画像の横方向解像度|72/1");
    const QString apple = kCorpus + "mm-app0-app2-farexif-gps-nointerop-nothumb-apple-phone.jpg";
    QTest::newRow("GPS latitude") << apple << gps << QStringLiteral("緯度|41.853000° N");
    QTest::newRow("GPS longitude") << apple << gps << QStringLiteral("経度|12.488833° E");
    QTest::newRow("GPS time") << apple << gps << QStringLiteral("GPS 時刻（UTC）|14:33:35.62 UTC");
    QTest::newRow("GPS image direction") << apple << gps << QStringLiteral("撮影方向|177.56");
    QTest::newRow("GPS pointer") << apple << main << QStringLiteral("GPS IFD の位置|544 バイト");
    const QString samsung = kCorpus + "ii-app1-orient6-gps-interop-thumb-long-samsung-phone.jpg";
    QTest::newRow("GPS altitude") << samsung << gps << QStringLiteral("高度|0.0 m");
    QTest::newRow("GPS altitude reference") << samsung << gps << QStringLiteral("高度の基準|海抜");
    QTest::newRow("GPS version") << samsung << gps << QStringLiteral("GPS タグのバージョン|2.2.0.0");
    const QString iphone = kModern + "iphone11pro-p3.heic";
    QTest::newRow("lens range") << iphone << sub << QStringLiteral("レンズの仕様|1.54-6 mm F1.8-2.4");
    QTest::newRow("lens make") << iphone << sub << QStringLiteral("レンズのメーカー|Apple");
    QTest::newRow("lens model") << iphone << sub
                                << QStringLiteral("レンズのモデル|iPhone 11 Pro back triple camera 4.25mm f/1.8");
    QTest::newRow("lens range in IFD0") << kCorpus + "mm-app0-interop-thumb-short-usercomment-canon.jpg" << main
                                        << QStringLiteral("レンズの仕様|18-55 mm");
}

// Each entry is listed under its directory's group row and in no other group (the clipboard text
// has a line for each row, in the same order: clipboardTextOfFiles).
void ExifDialogTest::entriesAreNamedInTheirOwnGroup() {
    QFETCH(QString, path);
    QFETCH(QString, group);
    QFETCH(QString, row);
    VERIFY_TEST_FILE(path);
    CExifDialog dialog(path.toStdString());
    const QStringList rows = ListRows(dialog);
    QString current;
    QStringList groups_holding;
    for (const QString& listed : rows) {
        if (listed.startsWith(QStringLiteral("▼"))) {
            current = listed.chopped(1);
        } else if (listed == row) {
            groups_holding << current;
        }
    }
    QCOMPARE(groups_holding, QStringList{group});
}

void ExifDialogTest::groupRowsAreColoured() {
    const QString path = kCorpus + "ii-app1-nointerop-thumb-long-sanyo.jpg";
    VERIFY_TEST_FILE(path);
    CExifDialog dialog(path.toStdString());
    auto* list = dialog.findChild<CListCtrlStyled*>("id1006");
    const pelimon::StyleContext context = list->Context();
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const bool group = CellText(list, row, 0).startsWith(QStringLiteral("▼"));
        for (int column = 0; column < 2; ++column) {
            const pelimon::ResolvedStyle style = list->Styles().Resolve(row, column, false, context);
            QCOMPARE(style.background_color, group ? pelimon::Rgb(240, 240, 170) : context.background_color);
        }
    }
}

void ExifDialogTest::clipboardLayout_data() {
    QTest::addColumn<QStringList>("rows");  // "name|value", a leading "#" marks a group row
    QTest::addColumn<QString>("text");
    const QString wide12 = QStringLiteral("撮影日時撮影日時撮影日時");
    QTest::newRow("12 wide characters get 16 blanks")
        << QStringList{wide12 + "|x"} << QString(16, ' ') + wide12 + " : x";
    QTest::newRow("ASCII name") << QStringList{"Make|Canon"} << QString(36, ' ') + "Make : Canon";
    QTest::newRow("last row is a group") << QStringList{"Make|Canon", "#G|"}
                                         << QString(36, ' ') + "Make : Canon\n" + QString(39, ' ') + "G\n";
    QTest::newRow("entry without value") << QStringList{"A|", "B|1"}
                                         << QString(39, ' ') + "A\n" + QString(39, ' ') + "B : 1";
    QTest::newRow("name wider than the field") << QStringList{QString(45, 'n') + "|v"} << QString(45, 'n') + " : v";
    QTest::newRow("empty list") << QStringList{} << "";
}

void ExifDialogTest::clipboardLayout() {
    QFETCH(QStringList, rows);
    QFETCH(QString, text);
    std::vector<pelimon::ExifListRow> list;
    for (QString row : rows) {
        const bool group = row.startsWith('#');
        if (group) {
            row.remove(0, 1);
        }
        list.push_back({row.section('|', 0, 0).toStdString(), row.section('|', 1).toStdString(), group});
    }
    QCOMPARE(QString::fromStdString(pelimon::FormatExifClipboard(list)), text);
}

void ExifDialogTest::clipboardTextOfFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("endsWithLineFeed");
    QTest::newRow("no sub-IFD pointer: ends with the sub group") << "" << true;
    QTest::newRow("sub-IFD, no interop: ends with an entry") << "ii-app1-nointerop-thumb-long-sanyo.jpg" << false;
    QTest::newRow("every directory") << "ii-app1-interop-thumb-long-minolta.jpg" << false;
}

void ExifDialogTest::clipboardTextOfFiles() {
    QFETCH(QString, file);
    QFETCH(bool, endsWithLineFeed);
    const QString path = file.isEmpty() ? no_sub_path_ : kCorpus + file;
    VERIFY_TEST_FILE(path);
    CExifDialog dialog(path.toStdString());
    const QStringList rows = ListRows(dialog);
    const QString text = QString::fromStdString(dialog.ClipboardText());
    QCOMPARE(text.endsWith('\n'), endsWithLineFeed);
    QStringList lines = text.split('\n');
    if (endsWithLineFeed) {
        lines.removeLast();
    }
    QCOMPARE(lines.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QString name = rows[i].section('|', 0, 0);
        const QString value = rows[i].section('|', 1);
        const std::string line = lines[i].toStdString();
        QVERIFY2(lines[i].trimmed().startsWith(name.trimmed()), qPrintable(lines[i]));
        // The name ends at column 40 (or later when it is wider than the field).
        const QString name_part = lines[i].left(lines[i].size() - (value.isEmpty() ? 0 : value.size() + 3));
        QCOMPARE(pelimon::DisplayWidth(name_part.toStdString()),
                 std::max(40, pelimon::DisplayWidth(name.toStdString())));
        QCOMPARE(lines[i].endsWith(" : " + value), !value.isEmpty());
        QVERIFY(!line.empty());
    }
}

void ExifDialogTest::copyButtonFillsClipboard() {
    const QString path = kCorpus + "ii-app1-nointerop-thumb-long-sanyo.jpg";
    VERIFY_TEST_FILE(path);
    CExifDialog dialog(path.toStdString());
    QGuiApplication::clipboard()->setText("before");
    dialog.findChild<QPushButton*>("id1036")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(dialog.ClipboardText()));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("SANYO DIGITAL CAMERA")));
}

void ExifDialogTest::buttonMessages_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("JPEG without Exif") << "noexif-dqt-after-soi.jpg"
                                       << "指定されたファイルには Exif 情報が有りません。";
    QTest::newRow("JFIF without Exif") << "noexif-app0-jfif-app13-sony.jpg"
                                       << "指定されたファイルには Exif 情報が有りません。";
    // A PNG may carry Exif, as a WebP or HEIF may; this one has none.
    QTest::newRow("PNG without Exif") << "notjpeg-png-renamed.jpg"
                                      << "指定されたファイルには Exif 情報が有りません。";
    QTest::newRow("missing file") << "no-such-file.jpg"
                                  << "指定されたファイルは JPG ファイルではありません。";
    QTest::newRow("Exif") << "ii-app1-nointerop-thumb-long-sanyo.jpg"
                          << "";
}

void ExifDialogTest::buttonMessages() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    if (file != "no-such-file.jpg") {
        VERIFY_TEST_FILE(kCorpus + file);
    }
    pelimon::CExifReader reader;
    reader.SetFileName((kCorpus + file).toStdString());
    const char* shown = pelimon::ExifButtonMessage(reader.CheckJpeg());
    QCOMPARE(shown ? QString::fromUtf8(shown) : QString(), message);
}

// Once shown, the name column is as wide as its names (up to 60% of the list) and the value column
// as its values, and together they fill the list.
void ExifDialogTest::columnsFitTheirContentsOnceShown() {
    CExifDialog dialog((kCorpus + "ii-app1-interop-thumb-long-minolta.jpg").toStdString());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<CListCtrlStyled*>("id1006");
    const int width = list->viewport()->width();
    const int names = list->columnWidth(0);
    const int values = list->columnWidth(1);
    QVERIFY(names > 100);
    QVERIFY(names + values >= width);
    list->resizeColumnToContents(0);
    list->resizeColumnToContents(1);
    QCOMPARE(names, std::min(list->columnWidth(0), width * 3 / 5));
    QVERIFY(values >= list->columnWidth(1));
}

QTEST_MAIN(ExifDialogTest)
#include "exif_dialog_qtest.moc"
