// The main window's setting controls and file list, driven through the controls' object names.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>
#include <QTest>

#include "common/language.h"
#include "controls/confirm_dialogs.h"
#include "dialogs/csetsize.h"
#include "gui/cpelimon_dlg.h"
#include "gui/file_list_model.h"
#include "gui/qt_translations.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/format_codes.h"

using namespace pelimon;
using namespace pelimon::test;

namespace {

void WriteFileOfSize(const QString& path, qint64 bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(bytes, 'x'));
}

QStringList Column(QTableView* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        texts << list->model()->index(row, column).data().toString();
    }
    return texts;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        settings_ = TestSettings(*root_);
    }
    void cleanup() { root_.reset(); }

    void everyControlCarriesItsText_data();
    void everyControlCarriesItsText();
    void qualityText_data();
    void qualityText();
    void qualitySliderAtLeftEndGivesOne();
    void sizePresets_data();
    void sizePresets();
    void sizeOtherCancelledRestoresPreset();
    void defaults_data();
    void defaults();
    void typeBox_data();
    void typeBox();
    void webpAndHeifBoxesAndOutputRadios();
    void everyFormatHasItsBoxAndChoice();
    void parameterFileTypesAreTheFilterTheBoxesShow();
    void selectAllToggleAndCountLabel();
    void keyboardPassesThroughTheList();
    void missingSourceFolderIsSaidInTheList();
    void exifButtonChecksTheFileFirst();
    void qtTextsFollowTheWindowLanguage();
    void rotationActsOnHighlightedRowsOnly();
    void sortingBySizeComparesLeadingNumbers();
    void enterAndEscapeKeepTheWindowOpen_data();
    void enterAndEscapeKeepTheWindowOpen();
    void dropWithoutAutomaticRunOnlyLists();
    void previewShowsResolutionAndColours();
    void dropOfSeveralFoldersListsEveryTreeAndPreviewsFromEach();

  private:
    std::unique_ptr<QTemporaryDir> root_;
    AppSettings settings_;
};

void MainWindowTest::everyControlCarriesItsText_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("run") << 1001 << "実行";
    QTest::newRow("quit") << 1031 << "終了";
    QTest::newRow("help") << 1000 << "ヘルプ";
    QTest::newRow("options") << 1003 << "オプション";
    QTest::newRow("defaults") << 1013 << "デフォルト";
    QTest::newRow("size set") << 1015 << "設定";
    QTest::newRow("reset rotation") << 1037 << "リセット";
    QTest::newRow("exif") << 1030 << "Exif";
    QTest::newRow("select all") << 1025 << "解除";
    QTest::newRow("other size") << 1012 << "その他";
    QTest::newRow("same format") << 1016 << "元画像と同じ";
    QTest::newRow("270") << 1036 << "270°";
    QTest::newRow("gif box") << 1029 << "GIF";
    QTest::newRow("webp box") << 1039 << "WebP";
    QTest::newRow("heif box") << 1040 << "HEIF/AVIF";
    QTest::newRow("webp format") << 1041 << "WebP";
    QTest::newRow("avif format") << 1042 << "AVIF";
}

void MainWindowTest::everyControlCarriesItsText() {
    QFETCH(int, id);
    QFETCH(QString, text);
    CpelimonDlg window(settings_);
    QCOMPARE(Find<QAbstractButton>(window, id)->text(), text);
    QCOMPARE(window.windowTitle(), QStringLiteral("ペリモン !!"));
}

// Keys typed into the quality box: whatever it shows after each key is the stored quality; what
// would leave 1..100 is refused as it is typed, and an emptied box shows the quality again when left.
void MainWindowTest::qualityText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("150 stops at 15") << "150"
                                     << "15";
    QTest::newRow("zero refused") << "0"
                                  << "77";
    QTest::newRow("digits then letters") << "50abc"
                                         << "50";
    QTest::newRow("upper end") << "100"
                               << "100";
    QTest::newRow("minus refused") << "-5"
                                   << "5";
}

void MainWindowTest::qualityText() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    settings_.JpegComp = 77;
    CpelimonDlg window(settings_);
    auto* edit = Find<QLineEdit>(window, 1020);
    auto* slider = Find<QSlider>(window, 1002);
    ModalAnswerer<QMessageBox> box([](QMessageBox* message) { message->accept(); });
    edit->selectAll();
    for (const QChar key : typed) {
        QTest::keyClick(edit, key.toLatin1());
        QCOMPARE(edit->text(), QString::number(settings_.JpegComp));
        QCOMPARE(slider->value(), settings_.JpegComp);
    }
    QCOMPARE(edit->text(), shown);

    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(settings_.JpegComp, shown.toInt());  // an empty box keeps the quality
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), shown);
    QVERIFY(!box.answered());
}

void MainWindowTest::qualitySliderAtLeftEndGivesOne() {
    CpelimonDlg window(settings_);
    auto* slider = Find<QSlider>(window, 1002);
    slider->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(settings_.JpegComp, 1);
    QCOMPARE(slider->value(), 1);
    QCOMPARE(Find<QLineEdit>(window, 1020)->text(), QStringLiteral("1"));

    Find<QPushButton>(window, 1026)->click();
    QCOMPARE(settings_.JpegComp, 90);
    QCOMPARE(slider->value(), 90);
    QCOMPARE(Find<QLineEdit>(window, 1020)->text(), QStringLiteral("90"));
}

void MainWindowTest::sizePresets_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("description");
    QTest::newRow("640x480") << 1010 << 1 << 640 << 480 << "幅・高さ固定 ： 640 x 480 pxel";
    QTest::newRow("480x360") << 1011 << 2 << 480 << 360 << "幅・高さ固定 ： 480 x 360 pxel";
}

void MainWindowTest::sizePresets() {
    QFETCH(int, id);
    QFETCH(int, base);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, description);
    settings_.Base = kBaseCustom;
    settings_.Method = kMethodRatio;
    settings_.Aspect = kAspectKeep;
    settings_.Rect = kRectByWidth;
    settings_.WidthRatio = 50;
    CpelimonDlg window(settings_);
    QCOMPARE(Find<QLabel>(window, 1014)->text(), QStringLiteral("幅固定 ： 50%"));
    Find<QRadioButton>(window, id)->click();
    QCOMPARE(settings_.Base, base);
    QCOMPARE(settings_.Width, width);
    QCOMPARE(settings_.Height, height);
    QCOMPARE(Find<QLabel>(window, 1014)->text(), description);
    QCOMPARE(QString::fromStdString(settings_.SizeString), description);
}

void MainWindowTest::sizeOtherCancelledRestoresPreset() {
    settings_.Base = 1;
    CpelimonDlg window(settings_);
    ModalAnswerer<CSetSize> size_dialog([](CSetSize* dialog) { dialog->reject(); });
    Find<QRadioButton>(window, 1012)->click();
    QVERIFY(size_dialog.answered());
    QCOMPARE(settings_.Base, 1);
    QVERIFY(Find<QRadioButton>(window, 1010)->isChecked());
    QCOMPARE(Find<QLabel>(window, 1014)->text(), QStringLiteral("幅・高さ固定 ： 640 x 480 pxel"));
}

void MainWindowTest::defaults_data() {
    QTest::addColumn<int>("def_confirm");
    QTest::addColumn<QString>("answer");  // button of the question, empty when none is expected
    QTest::addColumn<bool>("reset");
    QTest::newRow("asked, yes") << 0 << "id1" << true;
    QTest::newRow("asked, no") << 0 << "id2" << false;
    QTest::newRow("not asked") << 1 << "" << true;
}

void MainWindowTest::defaults() {
    QFETCH(int, def_confirm);
    QFETCH(QString, answer);
    QFETCH(bool, reset);
    settings_.DefConfirm = def_confirm;
    settings_.JpegComp = 55;
    settings_.ImageType = 15;
    settings_.FileType = 8;
    settings_.Confirm = 1;
    CpelimonDlg window(settings_);
    ModalAnswerer<CDefConfirm> question(
        [answer](CDefConfirm* dialog) { ClickChild(dialog, answer.toLatin1().constData()); });
    Find<QPushButton>(window, 1013)->click();
    QCOMPARE(question.answered(), !answer.isEmpty());
    QCOMPARE(settings_.JpegComp, reset ? 90 : 55);
    QCOMPARE(Find<QLineEdit>(window, 1020)->text(), reset ? QStringLiteral("90") : QStringLiteral("55"));
    // The default ImageType has every bit, 15 no WebP one; exactly one format radio is checked.
    QCOMPARE(Find<QCheckBox>(window, 1039)->isChecked(), reset);
    int checked_formats = 0;
    for (const int id : {1016, 1017, 1018, 1019, 1032, 1041, 1042}) {
        checked_formats += Find<QRadioButton>(window, id)->isChecked() ? 1 : 0;
    }
    QCOMPARE(checked_formats, 1);
    QCOMPARE(Find<QRadioButton>(window, 1016)->isChecked(), reset);
    QCOMPARE(settings_.Confirm, reset ? 0 : 1);
    QCOMPARE(settings_.DefConfirm, def_confirm);
}

void MainWindowTest::typeBox_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("jpeg_checked");
    QTest::addColumn<int>("image_type");
    QTest::addColumn<int>("rows");
    const int all = AllImageTypes();
    const int jpeg = test::ImageTypeOf(ImageFormat::kJpeg);
    QTest::newRow("いいえ keeps everything") << "id2" << true << all << 3;
    QTest::newRow("はい lists without JPEG") << "id1" << false << (all & ~jpeg) << 2;
}

void MainWindowTest::typeBox() {
    QFETCH(QString, answer);
    QFETCH(bool, jpeg_checked);
    QFETCH(int, image_type);
    QFETCH(int, rows);
    const QDir src(QString::fromStdString(settings_.ImagePath));
    for (const char* name : {"a.jpg", "b.png", "c.bmp"}) {
        WriteFileOfSize(src.filePath(QString::fromLatin1(name)), 10);
    }
    settings_.Confirm = 0;
    CpelimonDlg window(settings_);
    auto* list = Find<QTableView>(window, 1006);
    ModalAnswerer<CConfirm> question([answer](CConfirm* dialog) { ClickChild(dialog, answer.toLatin1().constData()); });
    Find<QCheckBox>(window, 1008)->click();
    QVERIFY(question.answered());
    QCOMPARE(Find<QCheckBox>(window, 1008)->isChecked(), jpeg_checked);
    QCOMPARE(settings_.ImageType, image_type);
    QCOMPARE(list->model()->rowCount(), rows);
    QCOMPARE(settings_.Confirm, 0);
}

void MainWindowTest::webpAndHeifBoxesAndOutputRadios() {
    const QDir src(QString::fromStdString(settings_.ImagePath));
    for (const char* name : {"a.jpg", "b.webp", "c.HEIC", "d.avif", "e.hif"}) {
        WriteFileOfSize(src.filePath(QString::fromLatin1(name)), 10);
    }
    settings_.Confirm = 1;
    settings_.ImageType = test::ImageTypeOf(ImageFormat::kWebp) | test::ImageTypeOf(ImageFormat::kHeif);
    settings_.FileType = test::FileTypeOf(ImageFormat::kAvif);
    CpelimonDlg window(settings_);
    QVERIFY(!Find<QCheckBox>(window, 1008)->isChecked());
    QVERIFY(Find<QCheckBox>(window, 1039)->isChecked());
    QVERIFY(Find<QCheckBox>(window, 1040)->isChecked());
    QCOMPARE(Find<QTableView>(window, 1006)->model()->rowCount(), 4);
    Find<QCheckBox>(window, 1040)->click();
    QCOMPARE(settings_.ImageType, test::ImageTypeOf(ImageFormat::kWebp));
    QCOMPARE(Find<QTableView>(window, 1006)->model()->rowCount(), 1);

    QVERIFY(Find<QRadioButton>(window, 1042)->isChecked());
    Find<QRadioButton>(window, 1041)->click();
    QCOMPARE(settings_.FileType, test::FileTypeOf(ImageFormat::kWebp));
    QVERIFY(Find<QSlider>(window, 1002)->parentWidget()->property("title").toString().contains("WebP"));
}

// Every row of the format table reaches the window: its type box under its caption, checked by its
// ImageType bit, and its output choice, which selects its FileType.
void MainWindowTest::everyFormatHasItsBoxAndChoice() {
    settings_.Confirm = 0;
    settings_.ImageType = AllImageTypes();
    CpelimonDlg window(settings_);
    for (const FormatRow& format : FormatTable()) {
        const QString name =
            QString::fromUtf8(format.display_name.data(), static_cast<int>(format.display_name.size()));
        if (format.window.type_box != 0) {
            auto* box = Find<QCheckBox>(window, format.window.type_box);
            QCOMPARE(box->text(), QString::fromUtf8(format.type_box_caption.data(),
                                                    static_cast<int>(format.type_box_caption.size())));
            QVERIFY2(box->isChecked(), qPrintable(name));
        }
        if (format.window.output_choice != 0) {
            Find<QRadioButton>(window, format.window.output_choice)->click();
            QCOMPARE(settings_.FileType, format.codes.file_type);
        }
    }
}

// A parameter file's IMAGETYPE is the filter the boxes show: its names are listed by it, and the
// next box click changes it, not the types in force before the file.
void MainWindowTest::parameterFileTypesAreTheFilterTheBoxesShow() {
    const QDir src(QString::fromStdString(settings_.ImagePath));
    for (const char* name : {"a.jpg", "b.png", "c.bmp"}) {
        WriteFileOfSize(src.filePath(QString::fromLatin1(name)), 10);
    }
    const QString job = root_->filePath("job.txt");
    QFile file(job);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("IMAGETYPE=2\nLIST=<<\na.jpg\nb.png\n>>\n");
    file.close();
    settings_.Confirm = 1;
    settings_.ImageType = AllImageTypes();
    CpelimonDlg window(settings_);
    window.HandleCommandLine(ParseCommandLine(std::vector<std::string>{"/F", job.toStdString(), "/G"}));
    QVERIFY(Find<QCheckBox>(window, 1008)->isChecked());
    QVERIFY(!Find<QCheckBox>(window, 1009)->isChecked());
    // The file's own names pass the types in force before it was read (each lands in row 0).
    QCOMPARE(Column(Find<QTableView>(window, 1006), 0), QStringList({"b.png", "a.jpg"}));

    Find<QCheckBox>(window, 1009)->click();
    QCOMPARE(settings_.ImageType, test::ImageTypeOf(ImageFormat::kJpeg) | test::ImageTypeOf(ImageFormat::kPng));
    QCOMPARE(Column(Find<QTableView>(window, 1006), 0), QStringList({"a.jpg", "b.png"}));
}

void MainWindowTest::selectAllToggleAndCountLabel() {
    WriteImages(QString::fromStdString(settings_.ImagePath), 3);
    settings_.Select = 1;
    CpelimonDlg window(settings_);
    auto* label = Find<QLabel>(window, 1046);
    auto* toggle = Find<QPushButton>(window, 1025);
    QCOMPARE(label->text(), QStringLiteral("（3/3）"));
    toggle->click();
    QCOMPARE(label->text(), QStringLiteral("（0/3）"));
    QCOMPARE(toggle->text(), QStringLiteral("選択"));
    QCOMPARE(settings_.Select, 0);

    auto* list = Find<QTableView>(window, 1006);
    list->model()->setData(list->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(label->text(), QStringLiteral("（1/3）"));

    // The toggle keeps the highlighted rows and the current row (the preview's file).
    list->selectionModel()->select(list->model()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->selectionModel()->setCurrentIndex(list->model()->index(2, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    toggle->click();
    QCOMPARE(label->text(), QStringLiteral("（3/3）"));
    QCOMPARE(toggle->text(), QStringLiteral("解除"));
    QCOMPARE(settings_.Select, 1);
    QCOMPARE(list->currentIndex().row(), 2);
    QCOMPARE(list->selectionModel()->selectedRows().size(), 2);
}

// Tab enters the list and leaves it for the next control (both ways); Space turns the current
// row's check whichever cell is current; Enter presses the focused button.
void MainWindowTest::keyboardPassesThroughTheList() {
    WriteImages(QString::fromStdString(settings_.ImagePath), 3);
    settings_.Select = 0;
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = Find<QTableView>(window, 1006);
    auto* toggle = Find<QPushButton>(window, 1025);
    toggle->setFocus();
    QTest::keyClick(toggle, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);

    list->setCurrentIndex(list->model()->index(1, FileListModel::kSizeColumn));
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(list->model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QCOMPARE(Find<QLabel>(window, 1046)->text(), QStringLiteral("（1/3）"));

    QTest::keyClick(list, Qt::Key_Tab);
    QWidget* after = QApplication::focusWidget();
    QVERIFY(after != nullptr && after != list);
    QTest::keyClick(after, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), toggle);

    QTest::keyClick(toggle, Qt::Key_Return);
    QTRY_COMPARE(settings_.Select, 1);
    QCOMPARE(toggle->text(), QStringLiteral("解除"));
}

void MainWindowTest::missingSourceFolderIsSaidInTheList() {
    settings_.ImagePath = QDir(root_->path()).filePath("gone").toStdString() + "/";
    CpelimonDlg window(settings_);
    auto* notice = window.findChild<QLabel*>("list_notice");
    QVERIFY(notice != nullptr);
    QVERIFY(!notice->isHidden());
    QVERIFY(notice->text().contains(QStringLiteral("gone/")));
    QVERIFY(notice->text().contains(QStringLiteral("存在しません")));
    Find<QLineEdit>(window, 1004)->setText(QDir(root_->path()).filePath("src"));
    QVERIFY(notice->isHidden());
}

// The Exif button looks at the file before it opens the dialog.
void MainWindowTest::exifButtonChecksTheFileFirst() {
    WriteImages(QString::fromStdString(settings_.ImagePath), 1);
    CpelimonDlg window(settings_);
    auto* list = Find<QTableView>(window, 1006);
    list->setCurrentIndex(list->model()->index(0, 0));
    auto* exif = Find<QPushButton>(window, 1030);
    exif->setEnabled(true);  // as if the preview had found Exif data
    ModalAnswerer<QMessageBox> box([](QMessageBox* message) { message->accept(); });
    exif->click();
    QVERIFY(box.answered());
    QCOMPARE(box.text(), QStringLiteral("指定されたファイルには Exif 情報が有りません。"));  // a PNG without Exif
}

// Qt's own buttons and dialogs speak Japanese with the window; another language's missing
// catalogue leaves them English.
void MainWindowTest::qtTextsFollowTheWindowLanguage() {
    QVERIFY(InstallTranslations(kJapanese));
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    const QString yes = question.button(QMessageBox::Yes)->text();
    QVERIFY2(!yes.contains(QStringLiteral("Yes")), qPrintable(yes));
    QVERIFY(!yes.isEmpty());
    QVERIFY(!LoadQtTranslations(QStringLiteral("xx")));
    QMessageBox english(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(english.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
}

void MainWindowTest::rotationActsOnHighlightedRowsOnly() {
    WriteImages(QString::fromStdString(settings_.ImagePath), 3);
    CpelimonDlg window(settings_);
    auto* list = Find<QTableView>(window, 1006);
    QItemSelection highlighted;
    highlighted.select(list->model()->index(0, 0), list->model()->index(0, 1));
    highlighted.select(list->model()->index(2, 0), list->model()->index(2, 1));
    list->selectionModel()->select(highlighted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    Find<QRadioButton>(window, 1034)->click();
    QVERIFY(!list->isColumnHidden(FileListModel::kRotationColumn));  // the turn shows on the row
    QCOMPARE(Column(list, FileListModel::kRotationColumn), QStringList({"90°", "", "90°"}));
    // Row 1 is checked but not highlighted: it keeps its rotation.
    QCOMPARE(list->model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);

    Find<QPushButton>(window, 1037)->click();
    QCOMPARE(Column(list, FileListModel::kRotationColumn), QStringList({"", "", ""}));
}

void MainWindowTest::sortingBySizeComparesLeadingNumbers() {
    const QDir src(QString::fromStdString(settings_.ImagePath));
    WriteFileOfSize(src.filePath("a.jpg"), 10 * 1024);
    WriteFileOfSize(src.filePath("b.jpg"), 9 * 1024);
    WriteFileOfSize(src.filePath("c.jpg"), 100 * 1024);
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = Find<QTableView>(window, 1006);
    QHeaderView* header = list->horizontalHeader();
    const QPoint size_header(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size_header);
    QCOMPARE(Column(list, 1), QStringList({"100 KB", "10 KB", "9 KB"}));
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size_header);
    QCOMPARE(Column(list, 1), QStringList({"9 KB", "10 KB", "100 KB"}));
    QCOMPARE(Column(list, 0), QStringList({"b.jpg", "a.jpg", "c.jpg"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

void MainWindowTest::enterAndEscapeKeepTheWindowOpen_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("focus");  // id of the focused control
    QTest::newRow("Enter in the quality box") << int(Qt::Key_Return) << 1020;
    QTest::newRow("Escape in the quality box") << int(Qt::Key_Escape) << 1020;
    QTest::newRow("Enter on 終了's neighbour") << int(Qt::Key_Enter) << 1001;
    QTest::newRow("Escape in the folder box") << int(Qt::Key_Escape) << 1004;
}

void MainWindowTest::enterAndEscapeKeepTheWindowOpen() {
    QFETCH(int, key);
    QFETCH(int, focus);
    settings_.ImagePath.clear();
    CpelimonDlg window(settings_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* target = Find<QWidget>(window, focus);
    target->setFocus();
    QTest::keyClick(target, static_cast<Qt::Key>(key));
    QVERIFY(window.isVisible());
}

void MainWindowTest::dropWithoutAutomaticRunOnlyLists() {
    const QString other = root_->filePath("dropped");
    QDir().mkpath(other);
    WriteImages(other, 2);
    settings_.DragDrop = 0;
    CpelimonDlg window(settings_);
    DropPaths(window, {other + "/img0.png", other + "/img1.png"});

    auto* list = Find<QTableView>(window, 1006);
    // Each file lands in row 0, above the ones added before it.
    QCOMPARE(Column(list, 0), QStringList({"img1.png", "img0.png"}));
    QCOMPARE(Find<QLabel>(window, 1046)->text(), QStringLiteral("（2/2）"));
    QCOMPARE(Find<QLineEdit>(window, 1004)->text(), other + "/");
    QVERIFY(window.findChild<QDialog*>("proc_msg") == nullptr);
}

void MainWindowTest::previewShowsResolutionAndColours() {
    WriteImages(QString::fromStdString(settings_.ImagePath), 1, 64, 48);
    CpelimonDlg window(settings_);
    auto* list = Find<QTableView>(window, 1006);
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLineEdit>(window, 1027)->text(), QStringLiteral("解像度　64 x 48"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLineEdit>(window, 1028)->text(), QStringLiteral("色　数　2　色"), 10000);
    QVERIFY(!Find<QPushButton>(window, 1030)->isEnabled());

    // 90 degrees for the highlighted current row: the resolution line turns with it.
    Find<QRadioButton>(window, 1034)->click();
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLineEdit>(window, 1027)->text(), QStringLiteral("解像度　48 x 64"), 10000);
}

// A file manager's selection of two folders: both trees are listed, and a row of the second
// previews from its own folder.
void MainWindowTest::dropOfSeveralFoldersListsEveryTreeAndPreviewsFromEach() {
    const QString first = root_->filePath("first");
    const QString second = root_->filePath("second/deep");
    QDir().mkpath(first);
    QDir().mkpath(second);
    WriteImages(first, 1, 64, 48);
    WriteImages(second, 1, 30, 20);
    settings_.DragDrop = 0;
    settings_.Recurse = 1;
    CpelimonDlg window(settings_);
    DropPaths(window, {first, root_->filePath("second")});

    auto* list = Find<QTableView>(window, 1006);
    QCOMPARE(Column(list, 0), QStringList({"img0.png", "deep/img0.png"}));
    list->selectionModel()->setCurrentIndex(list->model()->index(1, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLineEdit>(window, 1027)->text(), QStringLiteral("解像度　30 x 20"), 10000);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_qtest.moc"
