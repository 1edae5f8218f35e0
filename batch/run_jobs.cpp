#include "batch/run_jobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

#include "batch/batch_texts.h"
#include "batch/render_job.h"
#include "batch/save_job.h"

namespace pelimon {

namespace t = batch_texts;

namespace {

JobResult RenderAndSave(const AppSettings& settings, const ImageJob& job, RenderBuffers& buffers) {
    Result<RenderedOutput> rendered = RenderJob(settings, job, buffers);
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
    explicit JobQueue(const RunJobsInput& input) : input_(input), results_(input.jobs.size()) {}

    void Work() {
        RenderBuffers buffers;  // reused from job to job
        while (true) {
            if (stop_.load() || input_.ui.CancelRequested()) {
                stop_.store(true);
                return;
            }
            const size_t index = next_.fetch_add(1);
            if (index >= input_.jobs.size()) {
                return;
            }
            results_[index] = RunOne(input_.jobs[index], buffers);
            Finished(index);
        }
    }

    // Cancelled means some job was never taken; a cancel seen after the last job changes nothing.
    RunJobsOutcome TakeOutcome() {
        const bool cancelled = std::any_of(results_.begin(), results_.end(),
                                           [](const JobResult& result) { return result.state == JobState::kNotRun; });
        return {std::move(results_), cancelled};
    }

  private:
    // A job that runs out of memory or meets an unexpected exception fails alone; the pool goes on.
    JobResult RunOne(const ImageJob& job, RenderBuffers& buffers) {
        try {
            return RenderAndSave(input_.settings, job, buffers);
        } catch (const std::bad_alloc&) {
            buffers = RenderBuffers{};
            return {JobState::kFailed, Error{t::OutOfMemory(job.FileName), job.SourcePath}, {}};
        } catch (const std::exception& error) {
            return {JobState::kFailed, Error{t::NotProcessed(job.FileName, error.what()), job.SourcePath}, {}};
        }
    }

    // Reports under a lock so that the person sees the count rise steadily.
    void Finished(size_t index) {
        const ImageJob& job = input_.jobs[index];
        const std::lock_guard lock(progress_mutex_);
        if (input_.on_finished) {
            input_.on_finished(index, results_[index]);
        }
        ++completed_;
        input_.ui.ReportCurrentFile(job.FileName);
        input_.ui.ReportProgress(completed_, static_cast<int>(input_.jobs.size()));
    }

    const RunJobsInput& input_;
    std::vector<JobResult> results_;  // each slot written by the one worker that took its job
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex progress_mutex_;
    int completed_ = 0;
};

}  // namespace

RunJobsOutcome RunJobs(const RunJobsInput& input) {
    JobQueue queue(input);
    int workers = input.workers > 0 ? input.workers : static_cast<int>(std::thread::hardware_concurrency());
    workers = std::clamp(workers, 1, std::max(1, static_cast<int>(input.jobs.size())));
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
