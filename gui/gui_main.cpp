#include "gui/gui_main.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/cpelimon_app.h"
#include "common/language.h"
#include "controls/resources.h"
#include "controls/widget_text.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/qt_translations.h"

namespace pelimon {

using widget_text::Tr;

int RunGuiMain(int argc, char** argv) {
    QApplication application(argc, argv);
    // The catalogues come first: every text from here on is in the window's language.
    InstallTranslations(CurrentLanguage());
    QApplication::setApplicationName(QStringLiteral("pelimon"));
    QApplication::setApplicationDisplayName(Tr(main_texts::kTitle));
    QApplication::setDesktopFileName(QStringLiteral("pelimon"));
    QApplication::setWindowIcon(ProgramIcon());

    CpelimonApp app;
    if (const Status started = app.Start(); !started) {
        QMessageBox::critical(nullptr, Tr(main_texts::kTitle), QString::fromStdString(started.error().message));
        return 1;
    }

    const std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine command_line = ParseCommandLine(args);
    CpelimonDlg window(app.settings());
    // An unattended run shows the window minimised: the person sees only the progress.
    const bool unattended = !command_line.empty && (app.settings().DragDrop == kOn || command_line.quiet_run);
    if (unattended) {
        window.showMinimized();
    } else {
        window.show();
    }

    // The command line is handled once the event loop runs, so that the window is painted first.
    // Closing the last window ends the event loop.
    QTimer::singleShot(0, &window, [&window, &command_line] {
        if (window.HandleCommandLine(command_line)) {
            window.close();
        }
    });
    QApplication::exec();

    if (const Status saved = app.Finish(); !saved) {
        QMessageBox::critical(nullptr, Tr(main_texts::kSettingsCaption), QString::fromStdString(saved.error().message));
    }
    return 0;
}

}  // namespace pelimon
