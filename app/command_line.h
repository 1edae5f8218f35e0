// The command line: "/Q" (run at once, no completion question, then end), "/F <file>" (a
// parameter file sets settings and names the files, then as "/Q"), "/G" (clears the quiet flag
// again) and source paths. Only whole arguments equal to "/Q", "/F" or "/G" are switches; every
// other argument is a path. The window and the unattended run share this handling.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/interaction.h"
#include "batch/run_batch.h"
#include "filelist/source_list.h"
#include "settings/app_settings.h"

namespace pelimon {

// What the arguments ask for (argument 0, the program, not included).
struct CommandLine {
    bool empty = true;            // no arguments at all
    bool quiet_run = false;       // QuietRun: the last of "/Q", "/F" (set) and "/G" (clear)
    bool parameter_mode = false;  // a "/F" was given
    // The argument after the last "/F"; nullopt when that "/F" is the last argument or is
    // followed by the first "/Q" (the file name was forgotten).
    std::optional<std::string> parameter_file;
    std::vector<std::string> paths;  // every argument that is not a switch, in order
};

// Scans the arguments; pure.
CommandLine ParseCommandLine(std::span<const std::string> args);

// Runs a batch over the list. The command-line handling calls it; tests pass their own.
using BatchRunner =
    std::function<BatchOutcome(const AppSettings& settings, const FileList& list, Interaction& ui, bool quiet_run)>;

// RunBatch with `today` (yyyymmdd, for the "resize" + date folder) and `workers` threads (0: one
// per core).
BatchRunner MakeBatchRunner(std::string today, int workers = 0);

// What the handling did.
struct CommandLineOutcome {
    enum class Problem {
        kNone,
        kMissingParameterFile,  // "/F" without a file name (reported to `ui`)
        kParameterFileError,    // the file could not be read (reported to `ui`)
        kNoParameterLines,      // the file holds no parameter line: nothing done, nothing shown
    };
    Problem problem = Problem::kNone;
    bool batch_ran = false;
    BatchOutcome batch;  // valid when batch_ran
    // The program ends now (DragDrop 1 or QuietRun), whether or not a batch ran.
    bool end_program = false;
    // Named paths that were not used as the person probably meant, not shown to `ui`: a path
    // that does not exist (taken as a folder), a file outside the final source folder (the batch
    // will not find it), a parameter-file entry whose path is too long (skipped). The terminal
    // run prints them; the window may ignore them.
    std::vector<Error> path_notes;
};

// The command-line handling, once, after the window (or the unattended run) has listed ImagePath:
// fills `sources` from the paths or the parameter file, applies a parameter file to `settings`,
// and runs the batch through `run_batch` when DragDrop is 1 or QuietRun is set (checking every
// row first when Select is 0). Errors are shown through `ui`. What the batch hands on is in
// outcome.batch.carried; storing it is the caller's (StoreCarriedSettings).
CommandLineOutcome HandleCommandLine(const CommandLine& command_line, SourceList& sources, AppSettings& settings,
                                     Interaction& ui, const BatchRunner& run_batch);

}  // namespace pelimon
