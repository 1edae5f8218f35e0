// pelimon: the window when a display is available, otherwise the same run on the terminal
// (see unattended_run.h). A build without the GUI always runs on the terminal.
//
// `pelimon --help` and `pelimon --version` are recognised only as the one and only argument, so
// that a file of that name can still be reduced (as ./--help, or next to other arguments); every
// other argument is handled as the command line of the window is.
#include <cstdio>
#include <string>
#include <vector>

#include "app/unattended_run.h"
#include "settings/settings_file.h"

#ifdef PELIMON_WITH_GUI
#include "gui/gui_main.h"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        std::fputs(pelimon::UsageText().c_str(), stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::puts(pelimon::VersionText().c_str());
        return 0;
    }
#ifdef PELIMON_WITH_GUI
    if (pelimon::DisplayAvailable(pelimon::ProcessEnvironment)) {
        return pelimon::RunGuiMain(argc, argv);
    }
#endif
    return pelimon::RunUnattended(args);
}
