// The POSIX command line: `pelimon [OPTION]... FILE|FOLDER...`. Qt-free and pure: the parser
// only reads the arguments; ApplyPosixOptions puts what they ask for on top of the settings a run
// starts from (PosixDefaults, or the file of --settings) for one run. Options follow getopt_long: "-j 4", "-j4",
// "--jobs 4", "--jobs=4"; "--" ends the options; "-" alone is a name. Short options are not grouped ("-nV" is refused).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "settings/app_settings.h"
#include "settings/settings_table.h"

namespace pelimon {

// True when any argument starts with '-': the command line is a POSIX one. ("/Q", "/F" and "/G"
// never start with '-'.)
bool IsPosixCommandLine(std::span<const std::string> args);

enum class Verbosity { kQuiet, kNormal, kVerbose };

// A setting an option changes: set to `value`, or with add_bits the value's bits added to it.
struct SettingChange {
    NumberField setting;
    int32_t value = 0;
    bool add_bits = false;
    size_t option = 0;  // the option's row in the option table; changes apply in the table's order
};

// The size rule of -s, --width, --height and -p (only one of them may be given).
enum class SizeOption { kNone, kFit, kWidth, kHeight, kPercent };

struct PosixOptions {
    bool help = false;
    bool version = false;

    // The settings file to start from (--settings), as given; nullopt: PosixDefaults.
    std::optional<std::string> settings_file;

    // Presets of the settings file (--settings, else the user's): the ones to make the outputs
    // of (--preset, in the order given), and what to do with presets instead of a run or beside it.
    std::vector<std::string> presets;
    std::optional<std::string> save_preset;    // store this run's settings under this name
    std::optional<std::string> export_preset;  // print this preset as a settings file
    std::optional<std::string> import_preset;  // the file whose presets to store
    std::optional<std::string> delete_preset;  // remove this preset
    bool list_presets = false;

    // Settings for this run (nullopt or false: the value the run starts from stays).
    std::optional<std::string> output_folder;  // as given; relative to the current directory
    SizeOption size = SizeOption::kNone;
    int32_t width = 0;    // kFit, kWidth
    int32_t height = 0;   // kFit, kHeight
    int32_t percent = 0;  // kPercent
    bool enlarge = false;
    std::optional<int32_t> rotation;   // 90, 180 or 270, every file
    std::optional<int32_t> name_rule;  // with name_text: AddText or BaseName
    std::string name_text;
    std::vector<SettingChange> changes;  // the other settings the options change

    // How the run goes.
    int jobs = 0;  // worker threads; 0: one per core
    bool dry_run = false;
    Verbosity verbosity = Verbosity::kNormal;

    std::vector<std::string> paths;  // files and folders, in order

    // --files-from: the file that names the sources ("-": standard input); the one path, if any,
    // is then the source folder.
    std::optional<std::string> files_from;
    bool null_separated = false;  // -0: its names end with NUL bytes, not line breaks
};

// The values -f takes as the usage page, the man page and the completion list them: "same" (each
// source's format), then the name of every format the program writes, in the format table's order.
// The aliases the table gives ("jpg") are taken too but not listed.
std::vector<std::string_view> FormatChoiceNames();

// Parses the arguments (without the program name). Fails with one line naming the option and
// what is wrong with it: an unknown option, a missing value, a value that is not a number or out
// of range, two options that exclude each other, "/Q", "/F" or "/G" among options (before "--"),
// a name that cannot be a preset's or a preset given twice, files or folders beside
// --list-presets, --export-preset or --import-preset, or (unless -h, -V or one of those or
// --save-preset is given) no file or folder (with --files-from: more than one folder).
Result<PosixOptions> ParsePosixOptions(std::span<const std::string> args);

// What a POSIX command line starts from when it names no settings file (no file is read): every
// setting at its default, except that each output keeps its source's name (NameRule
// kNameAppendText with no AddText, so "a.jpg" becomes "a.webp" in WebP) and goes into
// `current_directory` (an absolute folder). Sources are never enlarged (ApplyPosixOptions).
AppSettings PosixDefaults(const std::string& current_directory);

// Puts the options on top of `settings` for one run: the output folder (made absolute from
// `current_directory`, Resize off), the size rule, BigSize (enlarge, or the source's own size for
// a source smaller than the target), the naming rule, and the changes of the other settings (the
// format, quality, size search, reduction, effects and metadata switches) in the order of the
// option table, each option's in the order given. ImageNum becomes 0 so that numbered names start
// at StartNum.
void ApplyPosixOptions(const PosixOptions& options, const std::string& current_directory, AppSettings& settings);

}  // namespace pelimon
