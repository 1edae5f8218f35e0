#include "batch/run_jobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <thread>

#include "batch/batch_texts.h"
#include "batch/render_job.h"
#include "batch/save_job.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

// Where a job is: its set and its place there.
struct JobPlace {
    size_t set = 0;
    size_t job = 0;
};

// The jobs of each source, in list order: a job of every set that has one for that list row.
std::vector<std::vector<JobPlace>> JobsBySource(std::span<const JobSet> sets) {
    std::map<int32_t, std::vector<JobPlace>> by_row;
    for (size_t set = 0; set < sets.size(); ++set) {
        for (size_t job = 0; job < sets[set].jobs.size(); ++job) {
            by_row[sets[set].jobs[job].ListIndex].push_back({set, job});
        }
    }
    std::vector<std::vector<JobPlace>> sources;
    sources.reserve(by_row.size());
    for (auto& [row, places] : by_row) {
        sources.push_back(std::move(places));
    }
    return sources;
}

JobResult Save(const AppSettings& settings, const ImageJob& job, Result<RenderedOutput> rendered) {
    if (!rendered.ok()) {
        return {JobState::kFailed, rendered.error(), {}};
    }
    if (rendered.value().skipped) {
        return {JobState::kSkipped, std::nullopt, {}};
    }
    if (Status saved = SaveJob(settings, job, rendered.value().bytes); !saved.ok()) {
        return {JobState::kFailed, saved.error(), {}};
    }
    return {JobState::kWritten, std::nullopt, std::move(rendered.value().notes)};
}

// Work shared by the workers: the next job to take, the count of finished ones, and the stop flag.
class JobQueue {
  public:
    explicit JobQueue(const RunJobsInput& input) : input_(input), sources_(JobsBySource(input.sets)) {
        for (const JobSet& set : input.sets) {
            results_.emplace_back(set.jobs.size());
            total_ += static_cast<int>(set.jobs.size());
        }
    }

    void Work() {
        RenderBuffers buffers;  // reused from job to job
        while (true) {
            if (stop_.load() || input_.ui.CancelRequested()) {
                stop_.store(true);
                return;
            }
            const size_t index = next_.fetch_add(1);
            if (index >= sources_.size()) {
                return;
            }
            RunSource(sources_[index], buffers);
            Finished(sources_[index]);
        }
    }

    int SourceCount() const { return static_cast<int>(sources_.size()); }

    // Cancelled means some job was never taken; a cancel seen after the last job changes nothing.
    RunJobsOutcome TakeOutcome() {
        const bool cancelled = std::any_of(results_.begin(), results_.end(), [](const std::vector<JobResult>& set) {
            return std::any_of(set.begin(), set.end(),
                               [](const JobResult& result) { return result.state == JobState::kNotRun; });
        });
        return {std::move(results_), cancelled};
    }

  private:
    const ImageJob& Job(const JobPlace& place) const { return input_.sets[place.set].jobs[place.job]; }

    // Renders every output of one source and saves each. A source that runs out of memory or meets
    // an unexpected exception fails alone (each of its jobs not yet done); the pool goes on.
    void RunSource(const std::vector<JobPlace>& places, RenderBuffers& buffers) {
        const ImageJob& first = Job(places.front());
        try {
            std::vector<RenderTarget> targets;
            for (const JobPlace& place : places) {
                targets.push_back({input_.sets[place.set].settings, Job(place)});
            }
            std::vector<Result<RenderedOutput>> rendered = RenderJobs(targets, buffers);
            for (size_t i = 0; i < places.size(); ++i) {
                results_[places[i].set][places[i].job] =
                    Save(targets[i].settings, targets[i].job, std::move(rendered[i]));
            }
        } catch (const std::bad_alloc&) {
            buffers = RenderBuffers{};
            FailUnfinished(places, Error{t::OutOfMemory(first.FileName), first.SourcePath});
        } catch (const std::exception& error) {
            FailUnfinished(places, Error{t::NotProcessed(first.FileName, error.what()), first.SourcePath});
        }
    }

    void FailUnfinished(const std::vector<JobPlace>& places, const Error& error) {
        for (const JobPlace& place : places) {
            JobResult& result = results_[place.set][place.job];
            if (result.state == JobState::kNotRun) {
                result = {JobState::kFailed, error, {}};
            }
        }
    }

    // Reports under a lock so that the person sees the count rise steadily.
    void Finished(const std::vector<JobPlace>& places) {
        const std::lock_guard lock(progress_mutex_);
        if (input_.on_finished) {
            for (const JobPlace& place : places) {
                input_.on_finished(place.set, place.job, results_[place.set][place.job]);
            }
        }
        completed_ += static_cast<int>(places.size());
        input_.ui.ReportCurrentFile(Job(places.front()).FileName);
        input_.ui.ReportProgress(completed_, total_);
    }

    const RunJobsInput& input_;
    const std::vector<std::vector<JobPlace>> sources_;
    // Each slot written by the one worker that took its source.
    std::vector<std::vector<JobResult>> results_;
    int total_ = 0;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex progress_mutex_;
    int completed_ = 0;
};

}  // namespace

RunJobsOutcome RunJobs(const RunJobsInput& input) {
    JobQueue queue(input);
    int workers = input.workers > 0 ? input.workers : static_cast<int>(std::thread::hardware_concurrency());
    workers = std::clamp(workers, 1, std::max(1, queue.SourceCount()));
    {
        std::vector<std::jthread> pool;
        pool.reserve(static_cast<size_t>(workers));
        for (int i = 0; i < workers; ++i) {
            pool.emplace_back([&queue] { queue.Work(); });
        }
    }
    return queue.TakeOutcome();
}

}  // namespace pelimon
