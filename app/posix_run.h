// The run of a POSIX command line (see posix_options.h): never a window, the settings file's
// settings with the options on top for this run only, the settings file left as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/posix_options.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

// The sources of a run: every file of a named folder whose type is one of ImageType, every
// named file whatever its type, in argument order, each row checked, at `rotation` and with its
// own folder. ImagePath becomes the folder of the first path (where a relative OutputPath and the
// "resize" + date folder lie). With Recurse on, a folder gives its tree, each row named by its
// path from the folder. Paths that name nothing usable, and subfolders that cannot be read, are
// counted in `missing` and printed to standard error.
struct PosixSources {
    FileList list;
    int missing = 0;
};
PosixSources ListPosixSources(const std::vector<std::string>& paths, int32_t rotation, AppSettings& settings);

// "JPEG", "PNG", ...: the upper-case command-line name of the format an OutputType writes,
// as the dry run prints it; empty for a value no format has.
std::string FormatNameOfOutputType(int32_t output_type);

// The usage page of --help in the current language: a line for each option of the option table,
// with the format table's lists filled in (posix_usage.cpp).
std::string PosixUsage();

// The whole run, arguments without the program name; returns the exit status (the statuses of
// unattended_run.h; a named path that is missing makes it kExitSomeFailed). Every line on standard
// error starts with "pelimon: " and says in one sentence what happened (TerminalStyle::kSentences). Option errors: one
// line naming the option and the usage hint on standard error, status 2, nothing read or written. --help and --version
// print on standard output.
// --dry-run prints one line per job on standard output: source, output, WxH and format,
// separated by tabs.
int RunPosix(std::span<const std::string> args);

}  // namespace pelimon
