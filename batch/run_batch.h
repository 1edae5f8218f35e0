// RunBatch: reduces the checked files of a list into the output folder.
#pragma once

#include <string>
#include <vector>

#include "batch/interaction.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct BatchOptions {
    bool quiet_run = false;  // no completion question (/Q, /F, unattended runs)
    int workers = 0;         // render threads; 0 = one per core
};

struct BatchOutcome {
    enum class Kind {
        kNothingToDo,  // nothing selected, or no checked file exists
        kStopped,      // the output folder was refused or could not be made; nothing written
        kCancelled,    // the person cancelled; what was written stays
        kCompleted,    // every job ran; see failures
    };
    Kind kind = Kind::kNothingToDo;
    int written = 0;                   // outputs written
    int skipped = 0;                   // jobs that produced no file on purpose (BigSize 2)
    std::vector<Error> failures;       // one per job that failed, in job order
    std::vector<std::string> renamed;  // notes on outputs given a distinct name
    std::vector<std::string> notes;    // metadata left out of written outputs, "name: why"
    std::string output_folder;         // the resolved working folder, ends with '/'
};

// Runs a batch on a copy of `settings` taken at the start. What persists across runs is written
// back into `settings` when the run ends: ImageNum, Complete (when the completion box was
// ticked), and, with Resize 1, OutputPath holding the "resize" + date folder text.
// `today` is the local date as yyyymmdd text for the "resize" folder (passed in so that tests
// do not depend on the date).
BatchOutcome RunBatch(AppSettings& settings, const FileList& list, Interaction& ui, const BatchOptions& options,
                      const std::string& today);

}  // namespace pelimon
