// Runs without a window: a terminal, a script, a cron job, or a machine with no display.
// The same start-up, command line and batch as the window, with TerminalInteraction, and an exit
// status that tells the outcome.
#pragma once

#include <span>
#include <string>

#include "app/command_line.h"
#include "settings/settings_file.h"

namespace pelimon {

enum ExitStatus : int {
    kExitAllWritten = 0,        // the batch wrote every file (or left some alone on purpose)
    kExitLibraryTooOld = 1,     // nothing was read or written
    kExitCommandLineError = 2,  // no arguments, "/F" without a file, or an unusable parameter file
    kExitNothingToDo = 3,       // nothing selected or found, or the command line asked for no batch
    kExitSomeFailed = 4,        // some files (or the output folder) failed; the rest were written
    kExitSettingsNotSaved = 5,  // the run went well but the settings file could not be written
    kExitInterrupted = 130,     // cancelled by SIGINT or SIGTERM; what was written stays
};

// A display is available when DISPLAY or WAYLAND_DISPLAY is set, unless QT_QPA_PLATFORM is
// "offscreen".
bool DisplayAvailable(const EnvLookup& env);

// The short usage printed for a bare `pelimon` without a display, and for `pelimon --help`.
std::string UsageText();

// "pelimon <version>".
std::string VersionText();

// The exit status of a command line's handling, before the settings are saved.
int ExitStatusOf(const CommandLineOutcome& outcome);

// The closing line of a batch, e.g.
// "pelimon: 12 件を /out/ に書き出しました（失敗 1 件、別名 1 件）".
std::string SummaryLine(const BatchOutcome& batch);
// A dry run's count with Update on: "pelimon: would write 3 files, 97 up to date".
std::string DryRunUpdateLine(const BatchOutcome& batch);

// The whole run without a window, arguments without the program name. Messages go to standard
// error. With no arguments: the usage and kExitCommandLineError, nothing loaded or saved.
// Otherwise the settings are loaded at the start (PELIMON_INI first) and saved at the end,
// whatever the batch did, unless the image library is too old.
int RunUnattended(std::span<const std::string> args);

}  // namespace pelimon
