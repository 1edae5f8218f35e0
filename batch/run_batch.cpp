#include "batch/run_batch.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "batch/batch_texts.h"
#include "batch/manifest_recorder.h"
#include "batch/output_folder.h"
#include "batch/output_naming.h"
#include "batch/prepare_jobs.h"
#include "batch/render_job.h"
#include "batch/run_jobs.h"
#include "batch/target_size.h"
#include "batch/up_to_date.h"
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
    std::string folder;  // where its outputs go: the output folder, or its subfolder of this set
    std::vector<ImageJob> jobs;
    std::vector<RenamedOutput> renamed;
    // The stamps of the list's rows for the set's manifest; nullopt: the set keeps none.
    std::optional<UpToDateCheck> manifest_stamps;
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

// What the manifest records of a written job: the stamp of its row, its source's name, and its
// output's path from the output folder. Nothing for a job whose output lies outside that folder.
std::optional<ManifestEntry> ManifestEntryOf(const ImageJob& job, const UpToDateCheck& check,
                                             const std::string& source_folder, const std::string& folder) {
    const SourceStamp& stamp = check.stamps[static_cast<size_t>(job.ListIndex)];
    if (!stamp.known || !job.DestPath.starts_with(folder)) {
        return std::nullopt;
    }
    return ManifestEntry{ManifestSourceName(job.SourcePath, source_folder), stamp.size, stamp.mtime_ns,
                         stamp.settings_hash, job.DestPath.substr(folder.size())};
}

// The list without the rows that are up to date.
FileList WithoutUpToDate(const FileList& list, const UpToDateCheck& check) {
    FileList remaining = list;
    for (size_t i = 0; i < remaining.rows().size(); ++i) {
        if (check.up_to_date[i]) {
            remaining.rows()[i].checked = false;
        }
    }
    return remaining;
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
    int jobs_to_run = 0;
    for (const OutputSet& set : sets) {
        PlannedSet& planned = planned_sets.emplace_back(PlannedSet{set.settings, {}, {}, {}, {}});
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
        // Each set keeps its own manifest in its own folder: its outputs are made with its settings.
        const std::string folder = set.subfolder.empty() ? base_folder : base_folder + set.subfolder + "/";
        planned.folder = folder;

        // Whether sources are up to date is decided from stats alone, before anything is read.
        const bool record = !options.dry_run && (run.Update == kOn || ManifestExists(folder));
        UpToDateCheck check;
        if (record || run.Update == kOn) {
            const ManifestRead manifest = run.Update == kOn ? ReadManifest(folder) : ManifestRead{};
            if (manifest.damaged) {
                outcome.notes.push_back(t::ManifestDamaged(folder + std::string(kManifestName)));
            }
            check = CheckUpToDate(run, list, folder, manifest.entries);
        }
        outcome.up_to_date += check.up_to_date_count;
        if (selected == check.up_to_date_count) {
            continue;
        }
        const FileList remaining = check.up_to_date_count > 0 ? WithoutUpToDate(list, check) : FileList{};
        const FileList& to_run = check.up_to_date_count > 0 ? remaining : list;

        PreparedJobs prepared =
            PrepareJobs({run, to_run, folder, ui, selected - check.up_to_date_count, std::time(nullptr)});
        if (first) {
            outcome.carried.ImageNum = run.ImageNum;
        }
        if (prepared.cancelled) {
            outcome.kind = BatchOutcome::Kind::kCancelled;
            return outcome;
        }
        planned.jobs = std::move(prepared.jobs);
        planned.renamed = MakeDestinationsDistinct(planned.jobs, check.kept);
        ComputeTargetSizes(run, planned.jobs);
        if (options.keep_plan || options.dry_run) {
            std::vector<PlannedOutput> outputs = PlanOutputs(run, planned.jobs);
            outcome.planned.insert(outcome.planned.end(), outputs.begin(), outputs.end());
        }
        if (record) {
            planned.manifest_stamps = std::move(check);
        }
        jobs_to_run += static_cast<int>(planned.jobs.size());
    }
    if (jobs_to_run == 0) {
        if (outcome.up_to_date > 0) {
            outcome.kind = BatchOutcome::Kind::kCompleted;
        } else {
            ui.ShowError(t::NoImages());
        }
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
    std::vector<std::optional<ManifestRecorder>> recorders(planned_sets.size());
    for (size_t set = 0; set < planned_sets.size(); ++set) {
        PlannedSet& planned = planned_sets[set];
        for (const ImageJob& job : planned.jobs) {
            output_folders.insert(job.DestPath.substr(0, job.DestPath.size() - job.DestName.size()));
        }
        job_sets.push_back({planned.settings, planned.jobs});
        if (planned.manifest_stamps) {
            recorders[set].emplace(
                planned.folder, [&planned, source_folder = SourceFolderOf(planned.settings)](size_t job) {
                    return ManifestEntryOf(planned.jobs[job], *planned.manifest_stamps, source_folder, planned.folder);
                });
        }
    }
    for (const std::string& output_folder : output_folders) {
        RemoveTemporariesOfEndedRuns(output_folder);
    }
    RunJobsInput render{job_sets, ui, options.workers, {}};
    render.on_finished = [&recorders](size_t set, size_t job, const JobResult& result) {
        if (recorders[set]) {
            recorders[set]->Finished(job, result.state == JobState::kWritten);
        }
    };
    const RunJobsOutcome rendered = RunJobs(render);
    size_t planned_index = 0;
    for (size_t set = 0; set < planned_sets.size(); ++set) {
        CollectResults(rendered.results[set], planned_sets[set].renamed, outcome);
        for (const JobResult& result : rendered.results[set]) {
            if (planned_index < outcome.planned.size()) {
                outcome.planned[planned_index++].written = result.state == JobState::kWritten;
            }
        }
    }
    for (std::optional<ManifestRecorder>& recorder : recorders) {
        if (!recorder) {
            continue;
        }
        recorder->Flush();
        for (std::string& note : recorder->TakeNotes()) {
            // A damaged manifest is named once, whether this run found it first or a flush did.
            if (std::find(outcome.notes.begin(), outcome.notes.end(), note) == outcome.notes.end()) {
                outcome.notes.push_back(std::move(note));
            }
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
