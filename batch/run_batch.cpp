#include "batch/run_batch.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "batch/batch_texts.h"
#include "batch/output_folder.h"
#include "batch/output_naming.h"
#include "batch/prepare_jobs.h"
#include "batch/render_job.h"
#include "batch/run_jobs.h"
#include "batch/target_size.h"
#include "common/atomic_file.h"
#include "imagelib/format_table.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

int CountChecked(const FileList& list) {
    return static_cast<int>(
        std::count_if(list.rows().begin(), list.rows().end(), [](const FileRow& row) { return row.checked; }));
}

// Counts the results and gathers, in job order, the failures, the notes on metadata left out and
// the notes on renamed outputs that were written.
void CollectResults(const std::vector<JobResult>& results, const std::vector<RenamedOutput>& renamed,
                    BatchOutcome& outcome) {
    for (const JobResult& result : results) {
        switch (result.state) {
            case JobState::kWritten:
                ++outcome.written;
                outcome.notes.insert(outcome.notes.end(), result.notes.begin(), result.notes.end());
                break;
            case JobState::kSkipped:
                ++outcome.skipped;
                break;
            case JobState::kFailed:
                outcome.failures.push_back(*result.error);
                break;
            case JobState::kNotRun:
                break;
        }
    }
    for (const RenamedOutput& note : renamed) {
        if (results[note.job].state == JobState::kWritten) {
            outcome.renamed.push_back(note.note);
        }
    }
}

// A set's settings (the run's copy), its jobs and the notes on outputs given a distinct name.
struct PlannedSet {
    AppSettings settings;
    std::vector<ImageJob> jobs;
    std::vector<RenamedOutput> renamed;
};

std::vector<PlannedOutput> PlanOutputs(const AppSettings& settings, const std::vector<ImageJob>& jobs) {
    std::vector<PlannedOutput> planned;
    planned.reserve(jobs.size());
    for (const ImageJob& job : jobs) {
        const OutputImagePlan image = PlanOutputImage(settings, job);
        planned.push_back({job.SourcePath, job.DestPath, image.width, image.height, job.OutputType, image.skipped,
                           false, job.PrepareError});
    }
    return planned;
}

}  // namespace

CarriedSettings CarriedFrom(const AppSettings& settings) {
    return {settings.ImageNum, settings.Complete, std::nullopt};
}

void StoreCarriedSettings(const CarriedSettings& carried, AppSettings& settings) {
    settings.ImageNum = carried.ImageNum;
    settings.Complete = carried.Complete;
    if (carried.OutputPath) {
        settings.OutputPath = *carried.OutputPath;
    }
}

BatchOutcome RunBatch(const AppSettings& settings, const FileList& list, Interaction& ui, const BatchOptions& options,
                      const std::string& today) {
    const OutputSet set{settings, {}};
    return RunBatch(std::span(&set, 1), list, ui, options, today);
}

BatchOutcome RunBatch(std::span<const OutputSet> sets, const FileList& list, Interaction& ui,
                      const BatchOptions& options, const std::string& today) {
    BatchOutcome outcome;
    outcome.carried = CarriedFrom(sets.front().settings);
    const int selected = CountChecked(list);
    if (selected == 0) {
        ui.ShowError(t::NoImages());
        return outcome;
    }

    for (const OutputSet& set : sets) {
        if (set.settings.FileType != kFileTypeSame && FormatOfFileType(set.settings.FileType) == nullptr) {
            ui.ShowError(t::UnknownFileType(set.settings.FileType));
            outcome.kind = BatchOutcome::Kind::kStopped;
            return outcome;
        }
    }

    // Each set works on its own copy of its settings; what persists goes into outcome.carried.
    std::vector<PlannedSet> planned_sets;
    std::set<std::string> checked_folders;
    for (const OutputSet& set : sets) {
        PlannedSet& planned = planned_sets.emplace_back(PlannedSet{set.settings, {}, {}});
        AppSettings& run = planned.settings;
        const Result<OutputFolderPlan> plan = ResolveOutputFolder(run, today);
        if (!plan.ok()) {
            ui.ShowError(t::NoSourceFolder(plan.error().path));
            outcome.kind = BatchOutcome::Kind::kStopped;
            return outcome;
        }
        const bool first = planned_sets.size() == 1;
        if (first && run.Resize == kResizeDatedFolder) {
            outcome.carried.OutputPath = plan.value().saved_output_path;
        }
        const std::string& base_folder = plan.value().folder;
        if (first) {
            outcome.output_folder = base_folder;
        }
        // The sets' own subfolders are made as their first output is written.
        if (checked_folders.insert(base_folder).second) {
            const int code = options.dry_run ? kFolderUsable : CheckOutputFolder(base_folder);
            if (code != kFolderUsable && ConfirmOutputFolder(code, base_folder, ui) != 0) {
                outcome.kind = BatchOutcome::Kind::kStopped;
                return outcome;
            }
        }
        const std::string folder = set.subfolder.empty() ? base_folder : base_folder + set.subfolder + "/";
        PreparedJobs prepared = PrepareJobs({run, list, folder, ui, selected, std::time(nullptr)});
        if (first) {
            outcome.carried.ImageNum = run.ImageNum;
        }
        if (prepared.cancelled) {
            outcome.kind = BatchOutcome::Kind::kCancelled;
            return outcome;
        }
        planned.jobs = std::move(prepared.jobs);
        planned.renamed = MakeDestinationsDistinct(planned.jobs);
        ComputeTargetSizes(run, planned.jobs);
        std::vector<PlannedOutput> outputs = PlanOutputs(run, planned.jobs);
        outcome.planned.insert(outcome.planned.end(), outputs.begin(), outputs.end());
    }
    if (outcome.planned.empty()) {
        ui.ShowError(t::NoImages());
        return outcome;
    }
    if (ui.CancelRequested()) {
        outcome.kind = BatchOutcome::Kind::kCancelled;
        return outcome;
    }
    if (options.dry_run) {
        outcome.kind = BatchOutcome::Kind::kCompleted;
        return outcome;
    }

    // A run killed in the middle of a write on a file system without unnamed temporary files left
    // its temporary file in the folder of that output; those of runs still writing stay.
    std::set<std::string> output_folders = checked_folders;
    std::vector<JobSet> job_sets;
    for (const PlannedSet& planned : planned_sets) {
        for (const ImageJob& job : planned.jobs) {
            output_folders.insert(job.DestPath.substr(0, job.DestPath.size() - job.DestName.size()));
        }
        job_sets.push_back({planned.settings, planned.jobs});
    }
    for (const std::string& output_folder : output_folders) {
        RemoveTemporariesOfEndedRuns(output_folder);
    }
    const RunJobsOutcome rendered = RunJobs({job_sets, ui, options.workers});
    size_t planned_index = 0;
    for (size_t set = 0; set < planned_sets.size(); ++set) {
        CollectResults(rendered.results[set], planned_sets[set].renamed, outcome);
        for (const JobResult& result : rendered.results[set]) {
            outcome.planned[planned_index++].written = result.state == JobState::kWritten;
        }
    }
    outcome.kind = rendered.cancelled ? BatchOutcome::Kind::kCancelled : BatchOutcome::Kind::kCompleted;
    if (!outcome.failures.empty() || !outcome.renamed.empty() || !outcome.notes.empty()) {
        std::vector<std::string> notes = outcome.renamed;
        notes.insert(notes.end(), outcome.notes.begin(), outcome.notes.end());
        ui.ReportSummary(outcome.failures, notes);
    }
    if (outcome.kind == BatchOutcome::Kind::kCompleted && planned_sets.front().settings.Complete == kAskAgain &&
        !options.quiet_run) {
        bool dont_ask_again = false;
        ui.OfferToOpenFolder(outcome.output_folder, dont_ask_again);
        if (dont_ask_again) {
            outcome.carried.Complete = kDontAskAgain;
        }
    }
    return outcome;
}

}  // namespace pelimon
