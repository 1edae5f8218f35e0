// Presets on the POSIX command line: which settings file holds them, the preset commands
// (--list-presets, --export-preset, --import-preset, --delete-preset, --save-preset), and the
// sets of outputs that --preset makes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/posix_options.h"
#include "batch/run_batch.h"
#include "common/result.h"

namespace pelimon {

// The settings file that holds the presets: that of --settings (taken from `current_directory`),
// else the user's settings file (PELIMON_INI, or where the window keeps its settings).
std::string PresetFilePath(const PosixOptions& options, const std::string& current_directory);

// Runs --list-presets, --export-preset, --import-preset or --delete-preset on the presets of
// `preset_file`, printing what they give on standard output and notes and errors on standard
// error; returns the exit status, or nullopt when the command line asks for none of them.
std::optional<int> RunPresetCommand(const PosixOptions& options, const std::string& preset_file);

// The sets of outputs of the run: `started` (the defaults or the --settings file's) with each
// preset of --preset on it and the options on top; with two or more presets each set goes into
// the subfolder named after its preset (PresetFolderName; a name two presets would share gets
// " (2)"). One set of `started` with the options when no preset is named. Fails, naming the
// preset and the file, when a preset is not there or the file cannot be read; notes on damaged
// presets are printed on standard error.
Result<std::vector<OutputSet>> PosixOutputSets(const PosixOptions& options, const AppSettings& started,
                                               const std::string& preset_file, const std::string& current_directory);

// --save-preset: stores `settings` (those of the run's first set) as the preset it names.
// Returns the exit status of a failure (kExitSettingsNotSaved), nullopt when stored.
std::optional<int> SaveCommandLinePreset(const PosixOptions& options, const AppSettings& settings,
                                         const std::string& preset_file);

}  // namespace pelimon
