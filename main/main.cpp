// pelimon: a command line with an option (any argument starting with '-') runs on the terminal
// with those options (posix_run.h) and never opens a window. Otherwise the window when a display
// is available, else the same run on the terminal (see unattended_run.h). A build without the
// GUI always runs on the terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "app/posix_options.h"
#include "app/posix_run.h"
#include "app/unattended_run.h"
#include "common/language.h"
#include "settings/settings_file.h"

#ifdef PELIMON_WITH_GUI
#include "gui/gui_main.h"
#endif

int main(int argc, char** argv) {
    if (const pelimon::Status language =
            pelimon::SetLanguage(pelimon::LanguageFromEnvironment(pelimon::ProcessEnvironment));
        !language) {
        std::fprintf(stderr, "pelimon: %s; the texts are shown in English\n", language.error().message.c_str());
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (pelimon::IsPosixCommandLine(args)) {
        return pelimon::RunPosix(args);
    }
#ifdef PELIMON_WITH_GUI
    if (pelimon::DisplayAvailable(pelimon::ProcessEnvironment)) {
        return pelimon::RunGuiMain(argc, argv);
    }
#endif
    return pelimon::RunUnattended(args);
}
