// RunBatch: reduces the checked files of a list into the output folder.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/interaction.h"
#include "filelist/file_list.h"
#include "settings/app_settings.h"

namespace pelimon {

struct BatchOptions {
    bool quiet_run = false;  // no completion question (/Q, /F, unattended runs)
    int workers = 0;         // render threads; 0 = one per core
    // Plan only: name and measure every job as a run would, fill BatchOutcome::planned, and write
    // nothing (the output folder is neither checked nor created).
    bool dry_run = false;
    // Fill BatchOutcome::planned in a real run too (a dry run always fills it). Off, a run of a big
    // tree holds no second copy of every source and output path while it renders.
    bool keep_plan = true;
};

// One job of a run as the run decided it: where it goes, how large, in which format.
struct PlannedOutput {
    std::string source_path;
    std::string dest_path;
    int width = 0;  // output pixels (see PlanOutputImage)
    int height = 0;
    int32_t output_type = 0;     // the job's OutputType (0 when the job has none, with `error` set)
    bool skipped = false;        // no file on purpose (BigSize 2)
    bool written = false;        // a real run wrote it
    std::optional<Error> error;  // the source could not be examined or has no output format: the job fails
};

// The settings a run hands on to the next one.
struct CarriedSettings {
    int32_t ImageNum = 0;  // the serial counter after this run's jobs were numbered
    int32_t Complete = 0;  // kDontAskAgain once the completion question's box was ticked
    // Only with Resize kResizeDatedFolder: the "resize" + date folder text. A folder the person
    // typed is never handed on, so an edit made while the run lasts stays.
    std::optional<std::string> OutputPath;
};

// ImageNum and Complete as at the start of a run, no OutputPath: storing them changes nothing.
CarriedSettings CarriedFrom(const AppSettings& settings);
// Stores what a run hands on into `settings`. The one place that lists these fields.
void StoreCarriedSettings(const CarriedSettings& carried, AppSettings& settings);

struct BatchOutcome {
    enum class Kind {
        kNothingToDo,  // nothing selected, or no checked file exists
        kStopped,      // FileType names no output format, or the output folder was refused or could not be
                       // made; nothing written
        kCancelled,    // the person cancelled; what was written stays
        kCompleted,    // every job ran; see failures
    };
    Kind kind = Kind::kNothingToDo;
    int written = 0;                     // outputs written
    int skipped = 0;                     // jobs that produced no file on purpose (BigSize 2)
    int up_to_date = 0;                  // checked files left alone as their output is current (Update)
    std::vector<Error> failures;         // one per job that failed, in job order
    std::vector<std::string> renamed;    // notes on outputs given a distinct name
    std::vector<std::string> notes;      // metadata left out of written outputs, "name: why"
    std::string output_folder;           // the resolved working folder, ends with '/'
    CarriedSettings carried;             // for the caller to store; as at the start when nothing changed
    std::vector<PlannedOutput> planned;  // one per job, in job order, once the jobs are sized (keep_plan)
};

// One set of outputs of a run: the settings they are made under, and the folder below the run's
// output folder they go into (empty: the output folder itself).
struct OutputSet {
    AppSettings settings;
    std::string subfolder;
};

// Runs a batch under `settings`. What persists across runs comes back in `carried` of the
// outcome, in every outcome, for the caller to store with StoreCarriedSettings: ImageNum,
// Complete (when the completion box was ticked), and, with Resize kResizeDatedFolder, OutputPath
// holding the "resize" + date folder text. `today` is the local date as yyyymmdd text for the
// "resize" folder (passed in so that tests do not depend on the date).
// With Update on, a checked file whose output the manifest of the output folder names as made from
// the file as it is now, with the present settings, and still there, takes no job (counted in
// up_to_date; a dry run plans only the others). Every run that writes records its outputs in that
// manifest when Update is on or the folder has one (every 1,000 files and at the end); a damaged
// manifest is not trusted, is rebuilt, and gives a note.
BatchOutcome RunBatch(const AppSettings& settings, const FileList& list, Interaction& ui, const BatchOptions& options,
                      const std::string& today);

// Runs one batch that makes every set's outputs of each checked file, decoding each source once
// for all of them. Each set's output folder is the one its settings name with its subfolder below;
// each set names and numbers its outputs on its own. The outcome counts and lists every set's
// jobs (planned: set by set); what it carries comes from the first set.
BatchOutcome RunBatch(std::span<const OutputSet> sets, const FileList& list, Interaction& ui,
                      const BatchOptions& options, const std::string& today);

}  // namespace pelimon
