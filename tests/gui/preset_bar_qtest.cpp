// The main window's presets: saved from the current settings, picked from the drop-down, replaced
// and deleted after asking, all in the settings file at once.
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/cpelimon_dlg.h"
#include "settings/presets.h"
#include "tests/gui/gui_test_support.h"

using namespace pelimon;
using namespace pelimon::test;

namespace {

template <class T>
T* Find(QWidget& window, int id) {
    T* control = window.findChild<T*>(QStringLiteral("id%1").arg(id));
    if (control == nullptr) {
        qFatal("control id%d missing", id);
    }
    return control;
}

// Saves the window's settings under `name`, answering the name prompt and, when one comes, the
// question whether to replace a preset with `replace`.
void SaveAs(CpelimonDlg& window, const QString& name, QMessageBox::StandardButton replace = QMessageBox::Yes) {
    ModalAnswerer<QInputDialog> prompt([name](QInputDialog* dialog) {
        dialog->setTextValue(name);
        dialog->accept();
    });
    ModalAnswerer<QMessageBox> question([replace](QMessageBox* box) {
        if (QAbstractButton* button = box->button(replace)) {
            button->click();
        } else {
            box->accept();  // a warning
        }
    });
    Find<QPushButton>(window, 1054)->click();
    QVERIFY(prompt.answered());
}

QStringList Items(QComboBox* choice) {
    QStringList items;
    for (int i = 1; i < choice->count(); ++i) {
        items << choice->itemText(i);
    }
    return items;
}

}  // namespace

class PresetBarTest : public QObject {
    Q_OBJECT
  private slots:
    void savePickReplaceAndDelete();
};

void PresetBarTest::savePickReplaceAndDelete() {
    QTemporaryDir root;
    AppSettings settings = TestSettings(root);
    {
        QFile file(QString::fromStdString(settings.ProfilePath));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Preset:broken]\nJpegComp=many\n");
    }
    settings.JpegComp = 60;
    CpelimonDlg window(settings);
    auto* choice = Find<QComboBox>(window, 1051);
    auto* quality = Find<QLineEdit>(window, 1020);
    QCOMPARE(Items(choice), QStringList());
    QVERIFY(choice->toolTip().contains(QStringLiteral("broken")));  // left out, and said why
    QVERIFY(!Find<QPushButton>(window, 1055)->isEnabled());

    SaveAs(window, QStringLiteral("web"));
    QCOMPARE(Items(choice), QStringList{QStringLiteral("web")});
    QCOMPARE(choice->currentText(), QStringLiteral("web"));

    // Another quality, then the preset back: the setting and its control return.
    quality->setText(QStringLiteral("95"));
    QCOMPARE(settings.JpegComp, 95);
    choice->setCurrentIndex(0);
    choice->activated(0);
    QCOMPARE(settings.JpegComp, 95);  // the first item is no preset
    choice->setCurrentIndex(1);
    choice->activated(1);
    QCOMPARE(settings.JpegComp, 60);
    QCOMPARE(quality->text(), QStringLiteral("60"));

    // The same name again asks first: no keeps the preset, yes replaces it.
    quality->setText(QStringLiteral("70"));
    SaveAs(window, QStringLiteral("WEB"), QMessageBox::No);
    QCOMPARE(LoadPresets(settings.ProfilePath).value().Find("web")->values.JpegComp, 60);
    SaveAs(window, QStringLiteral("WEB"), QMessageBox::Yes);
    QCOMPARE(LoadPresets(settings.ProfilePath).value().Find("web")->values.JpegComp, 70);
    QCOMPARE(Items(choice), QStringList{QStringLiteral("WEB")});  // named as typed last

    // A name that cannot be one is refused with the reason.
    SaveAs(window, QStringLiteral("a/b"));
    QCOMPARE(Items(choice), QStringList{QStringLiteral("WEB")});

    // Deleting asks, then removes it from the file.
    QVERIFY(Find<QPushButton>(window, 1055)->isEnabled());
    {
        ModalAnswerer<QMessageBox> question([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        Find<QPushButton>(window, 1055)->click();
        QVERIFY(question.answered());
    }
    QCOMPARE(Items(choice), QStringList());
    QVERIFY(LoadPresets(settings.ProfilePath).value().presets.empty());
}

QTEST_MAIN(PresetBarTest)
#include "preset_bar_qtest.moc"
