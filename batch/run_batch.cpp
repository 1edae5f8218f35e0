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
    BatchOutcome outcome;
    outcome.carried = CarriedFrom(settings);
    const int selected = CountChecked(list);
    if (selected == 0) {
        ui.ShowError(t::NoImages());
        return outcome;
    }

    if (settings.FileType != kFileTypeSame && FormatOfFileType(settings.FileType) == nullptr) {
        ui.ShowError(t::UnknownFileType(settings.FileType));
        outcome.kind = BatchOutcome::Kind::kStopped;
        return outcome;
    }

    // The run works on its own copy; what persists goes into outcome.carried.
    AppSettings run = settings;
    const Result<OutputFolderPlan> plan = ResolveOutputFolder(run, today);
    if (!plan.ok()) {
        ui.ShowError(t::NoSourceFolder(plan.error().path));
        outcome.kind = BatchOutcome::Kind::kStopped;
        return outcome;
    }
    if (run.Resize == kResizeDatedFolder) {
        outcome.carried.OutputPath = plan.value().saved_output_path;
    }
    const std::string& folder = plan.value().folder;
    outcome.output_folder = folder;
    const int code = options.dry_run ? kFolderUsable : CheckOutputFolder(folder);
    if (code != kFolderUsable && ConfirmOutputFolder(code, folder, ui) != 0) {
        outcome.kind = BatchOutcome::Kind::kStopped;
        return outcome;
    }

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
    outcome.up_to_date = check.up_to_date_count;
    const FileList remaining = check.up_to_date_count > 0 ? WithoutUpToDate(list, check) : FileList{};
    const FileList& to_run = check.up_to_date_count > 0 ? remaining : list;
    if (selected == check.up_to_date_count) {
        outcome.kind = BatchOutcome::Kind::kCompleted;
        return outcome;
    }

    PreparedJobs prepared =
        PrepareJobs({run, to_run, folder, ui, selected - check.up_to_date_count, std::time(nullptr)});
    outcome.carried.ImageNum = run.ImageNum;
    if (prepared.cancelled) {
        outcome.kind = BatchOutcome::Kind::kCancelled;
        return outcome;
    }
    std::vector<ImageJob>& jobs = prepared.jobs;
    if (jobs.empty()) {
        ui.ShowError(t::NoImages());
        return outcome;
    }
    const std::vector<RenamedOutput> renamed = MakeDestinationsDistinct(jobs, check.kept);
    ComputeTargetSizes(run, jobs);
    if (options.keep_plan || options.dry_run) {
        outcome.planned = PlanOutputs(run, jobs);
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
    std::set<std::string> output_folders{folder};
    for (const ImageJob& job : jobs) {
        output_folders.insert(job.DestPath.substr(0, job.DestPath.size() - job.DestName.size()));
    }
    for (const std::string& output_folder : output_folders) {
        RemoveTemporariesOfEndedRuns(output_folder);
    }
    std::optional<ManifestRecorder> recorder;
    RunJobsInput render{run, jobs, ui, options.workers, {}};
    if (record) {
        recorder.emplace(folder, [&jobs, &check, &folder, source_folder = SourceFolderOf(run)](size_t job) {
            return ManifestEntryOf(jobs[job], check, source_folder, folder);
        });
        render.on_finished = [&recorder](size_t job, const JobResult& result) {
            recorder->Finished(job, result.state == JobState::kWritten);
        };
    }
    const RunJobsOutcome rendered = RunJobs(render);
    CollectResults(rendered.results, renamed, outcome);
    if (recorder) {
        recorder->Flush();
        for (std::string& note : recorder->TakeNotes()) {
            // A damaged manifest is named once, whether this run found it first or a flush did.
            if (std::find(outcome.notes.begin(), outcome.notes.end(), note) == outcome.notes.end()) {
                outcome.notes.push_back(std::move(note));
            }
        }
    }
    for (size_t i = 0; i < outcome.planned.size(); ++i) {
        outcome.planned[i].written = rendered.results[i].state == JobState::kWritten;
    }
    outcome.kind = rendered.cancelled ? BatchOutcome::Kind::kCancelled : BatchOutcome::Kind::kCompleted;
    if (!outcome.failures.empty() || !outcome.renamed.empty() || !outcome.notes.empty()) {
        std::vector<std::string> notes = outcome.renamed;
        notes.insert(notes.end(), outcome.notes.begin(), outcome.notes.end());
        ui.ReportSummary(outcome.failures, notes);
    }
    if (outcome.kind == BatchOutcome::Kind::kCompleted && run.Complete == kAskAgain && !options.quiet_run) {
        bool dont_ask_again = false;
        ui.OfferToOpenFolder(folder, dont_ask_again);
        if (dont_ask_again) {
            outcome.carried.Complete = kDontAskAgain;
        }
    }
    return outcome;
}

}  // namespace pelimon
