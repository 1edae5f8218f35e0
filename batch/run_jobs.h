// The rendering phase: a fixed pool of workers renders and saves the jobs of a run.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch/image_job.h"
#include "batch/interaction.h"
#include "common/result.h"
#include "settings/app_settings.h"

namespace pelimon {

enum class JobState {
    kNotRun,   // the run was cancelled before this job was taken
    kWritten,  // the output is in place
    kSkipped,  // BigSize 2 and a target not smaller than the source: no file on purpose
    kFailed,   // see error
};

struct JobResult {
    JobState state = JobState::kNotRun;
    std::optional<Error> error;
    std::vector<std::string> notes;  // of a written output: metadata left out (RenderedOutput::notes)
};

// The jobs of one set of outputs, and the settings they are made under.
struct JobSet {
    const AppSettings& settings;
    std::span<const ImageJob> jobs;  // names and sizes fixed; read only
};

struct RunJobsInput {
    std::span<const JobSet> sets;  // several sets: outputs of the same list rows under other settings
    Interaction& ui;               // progress and cancel, called from the workers
    int workers = 0;               // 0: one per core
    // Called as each job finishes, with its set, its place in the set and its result, from the
    // worker that ran it, one call at a time. May be empty.
    std::function<void(size_t set, size_t job, const JobResult& result)> on_finished;
};

struct RunJobsOutcome {
    std::vector<std::vector<JobResult>> results;  // one per job of each set, in set and job order
    bool cancelled = false;
};

// Renders and saves every job on min(workers, sources) threads. A worker takes one source (a list
// row) at a time with its job of every set, so that the source is decoded once for all its
// outputs. Each worker polls the cancel flag before it takes the next source (sources already
// taken finish and are written) and reports progress `finished` of the number of jobs as each
// source finishes. Outputs do not depend on the number of workers or the order in which jobs
// finish.
RunJobsOutcome RunJobs(const RunJobsInput& input);

}  // namespace pelimon
