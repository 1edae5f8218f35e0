// Texts of the start-up, the command line and the unattended run on a terminal, kept in one place
// (their translations are in po/): the usage pages, the option errors, the dry-run and progress
// lines. Texts with conversions are printf formats (common/message.h: Format).
#pragma once

#include <cstddef>
#include <string>

#include "common/message.h"

namespace pelimon::app_texts {

// Shown (window) or printed (terminal) when the image library is older than the program needs.
inline constexpr Message kLibraryVersionMessage =
    Message("imgctl.dll is not the expected version. Use the imgctl.dll that comes with pelimon.");

// Command-line handling (shown through the Interaction).
inline constexpr Message kCommandLineErrorCaption = Message("Command line error");
inline constexpr Message kMissingParameterFileText = Message("No parameter file given.");
inline constexpr Message kErrorCaption = Message("Error");
inline constexpr Message kNoteMissing = Message("Not found (taken as a folder).");
inline constexpr Message kNoteOutsideFolder = Message("Not in the source folder, so not processed.");
inline constexpr Message kNoteTooLong = Message("Skipped: the path is too long.");

// The unattended run.
inline constexpr Message kNoParameterLines = Message("the parameter file has no setting lines");
inline constexpr Message kNothingRun = Message("nothing was reduced; add /Q to reduce at once");
inline constexpr Message kSettingsNotSaved = Message("cannot save the settings file: ");
inline constexpr Message kUsage = Message(
    "Usage: pelimon [/Q] [/G] [FILE|FOLDER...]\n"
    "  or:  pelimon /F PARAMETER-FILE\n"
    "  /Q   reduce the named files and folders at once, then end\n"
    "  /F   reduce with the settings and file names of the parameter file, then end\n"
    "  /G   cancel the ending of /Q and /F (reduces only when DragDrop=1)\n"
    "  --help, --version   the options (arguments starting with -) and the version\n"
    "Without a display (neither DISPLAY nor WAYLAND_DISPLAY set, or QT_QPA_PLATFORM=offscreen)\n"
    "pelimon runs without a window and reports through its exit status:\n"
    "  0 all written  1 image library too old  2 command-line or parameter-file error\n"
    "  3 nothing to do  4 some files failed  5 settings file not saved\n"
    "  130 interrupted\n"
    "The PELIMON_INI environment variable names the settings file.\n");

// The summary line of a run: "pelimon: wrote <written> files to <folder> (n failed, ...); interrupted";
// a part in parentheses only for a count above 0.
inline std::string Summary(size_t written, const std::string& folder, size_t failed, size_t renamed, size_t unchanged,
                           size_t up_to_date, bool interrupted) {
    std::string details;
    const auto add = [&details](size_t count, const PluralMessage& part) {
        if (count == 0) {
            return;
        }
        if (!details.empty()) {
            details += Message(", ", "list separator").str();
        }
        details += Format(part, count, count);
    };
    add(failed, PluralMessage("%zu failed", "%zu failed"));
    add(renamed, PluralMessage("%zu renamed", "%zu renamed"));
    add(unchanged, PluralMessage("%zu left as they were", "%zu left as they were"));
    add(up_to_date, PluralMessage("%zu skipped as up to date", "%zu skipped as up to date"));
    std::string line = Format(PluralMessage("pelimon: wrote %zu file to %s", "pelimon: wrote %zu files to %s"), written,
                              written, folder);
    if (!details.empty()) {
        // TRANSLATORS: the counts after the summary line, " (1 failed, 2 renamed)".
        line += Format(Message(" (%s)"), details);
    }
    if (interrupted) {
        line += Message("; interrupted").str();
    }
    return line;
}

// The terminal interaction: a question answered yes at once ("caption: text -> yes"), and the
// progress line ("Reducing done/total").
inline constexpr Message kAnsweredYes = Message("-> yes");
inline constexpr Message kProgress = Message("Reducing");

// `pelimon --help` when the command line is a POSIX one (any argument starting with '-'): this
// head, a line for each option of the option table (app/posix_option_table.cpp: its names, the
// name of its value and its help), and the tail. The man page (res/pelimon.1.in) lists the options
// from the same table.
inline constexpr Message kPosixUsageHead = Message(
    "Usage: pelimon [OPTION]... FILE|FOLDER...\n"
    "  or:  pelimon [/Q] [/G] [FILE|FOLDER...]\n"
    "  or:  pelimon /F PARAMETER-FILE\n"
    "Write a reduced copy of each photograph. A folder gives each of its image files; a file is taken\n"
    "as it is. With options, pelimon opens no window and reads no settings file: each output keeps its\n"
    "source's name with the output format's extension and goes into the current folder (a name that a\n"
    "source or another output already has gets \" (2)\" and so on; sources are never overwritten),\n"
    "sources smaller than the target are not enlarged, and everything else is at its default (fit in\n"
    "640 x 480, the source's format, quality 90, no metadata kept). The options change this for the\n"
    "run; --settings starts from a settings file's settings instead (the file is not written back).\n"
    "Numbered names start at StartNum on every run.\n"
    "\n");
// TRANSLATORS: an option and the name of its value on a line of the usage page ("--output=DIR").
inline constexpr Message kOptionWithValue = Message("%s=%s", "usage page");
inline constexpr Message kPosixUsageTail = Message(
    "\n"
    "A JPEG written as JPEG XL with its pixels as they are (no reduction, turn or effect: --percent 100,\n"
    "or a larger target without --enlarge) is stored as a lossless recompression: about a fifth\n"
    "smaller, and djxl gives the JPEG back bit for bit.\n"
    "\n"
    "Exit status: 0 all written  1 image library too old  2 command-line or parameter-file error\n"
    "  3 nothing to do  4 some files failed  5 settings file not saved  130 interrupted\n"
    "PELIMON_INI names the settings file of the window, /Q and /F; options read only its presets.\n"
    "See man pelimon for details.\n");

// The line under every command-line error.
inline constexpr Message kUsageHint = Message("Try 'pelimon --help' for more information.");

// Option errors (one line each; the option is named as it was written).
inline constexpr Message kUnknownOption = Message("unrecognized option '%s'");
inline constexpr Message kMissingValue = Message("option '%s' requires a value");
inline constexpr Message kNotANumber = Message("option '%s': '%s' is not a number");
inline constexpr Message kOutOfRange = Message("option '%s': '%s' is out of range (%d to %d)");
inline constexpr Message kBadSize = Message("option '%s': '%s' is not WIDTHxHEIGHT (such as 1600x1200)");
inline constexpr Message kBadChoice = Message("option '%s': invalid value '%s' (valid values: %s)");
inline constexpr Message kUnexpectedValue = Message("option '%s' takes no value");
inline constexpr Message kExcludes = Message("options '%s' and '%s' cannot be used together");
inline constexpr Message kSwitchWithOptions = Message("%s cannot be used with options starting with '-'");
inline constexpr Message kSettingsNotRead = Message("cannot read the settings file %s (%s)");
inline constexpr Message kNoSources = Message("no files or folders given");
inline constexpr Message kFilesFromOneFolder = Message("with option '%s', give at most one folder: the source folder");
inline constexpr Message kNullWithoutFilesFrom = Message("option '%s' needs --files-from");
inline constexpr Message kFilesFromNotRead = Message("cannot read the list of files %s (%s)");

// The dry run's count with --update, on standard error.
inline std::string DryRunUpdate(size_t to_write, size_t up_to_date) {
    return Format(PluralMessage("pelimon: would write %zu file", "pelimon: would write %zu files"), to_write,
                  to_write) +
           Format(PluralMessage(", %zu up to date", ", %zu up to date"), up_to_date, up_to_date);
}
inline constexpr Message kBadPresetName = Message("option '%s': '%s' cannot name a preset: %s");
inline constexpr Message kPresetGivenTwice = Message("option '%s': the preset '%s' is given twice");
inline constexpr Message kPresetCommandWithFiles =
    Message("--list-presets, --export-preset, --import-preset and --delete-preset take no files or folders");
inline constexpr Message kSaveOneOfPresets = Message("--save-preset stores the settings of one --preset at most");

// Presets.
inline constexpr Message kUnknownPreset = Message("there is no preset '%s' in %s (see pelimon --list-presets)");
inline constexpr Message kNoPresetsIn = Message("%s holds no preset");
inline constexpr Message kPresetClash = Message(
    "the preset '%s' of %s is already in %s with other settings: nothing was imported (remove the one there "
    "with --delete-preset, or rename the section [Preset:%s] of %s)");
inline constexpr Message kPresetSaved = Message("preset '%s' stored in %s");
inline constexpr Message kPresetDeleted = Message("preset '%s' removed from %s");
inline constexpr Message kPresetImported = Message("preset '%s' imported into %s");
inline constexpr Message kPresetExportHead = Message("; a pelimon preset: pelimon --import-preset FILE stores it");

// Run notes.
inline constexpr Message kSourceMissing = Message("no such file or folder");
inline constexpr Message kNotAFileOrFolder = Message("not a file or folder");
inline constexpr Message kNotAFolder = Message("not a folder");
inline constexpr Message kDryRunSkipped = Message("(not written: the source is smaller than the target)");
inline constexpr Message kDryRunFails = Message("(fails: %s)");

// The progress line's additions: the time left ("m:ss left").
inline constexpr Message kTimeLeft = Message("%d:%02d left");

}  // namespace pelimon::app_texts
