// Records a run's written outputs in the manifest of its output folder as the run goes: every
// `flush_every` finished jobs and at the end, so that a run that is interrupted keeps what it
// finished.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "batch/output_manifest.h"

namespace pelimon {

class ManifestRecorder {
  public:
    // What the manifest records of job `job` once its output is written; nullopt: nothing.
    using EntryOfJob = std::function<std::optional<ManifestEntry>(size_t job)>;

    // `output_root` ends with '/'.
    ManifestRecorder(std::string output_root, EntryOfJob entry_of_job, size_t flush_every = 1000);

    // Job `job` has finished; `written` when its output is in place. Thread-safe.
    void Finished(size_t job, bool written);
    // Merges what was recorded since the last flush into the manifest. Thread-safe.
    void Flush();
    // What the person should hear of: a damaged manifest that was rebuilt, a manifest not saved.
    std::vector<std::string> TakeNotes();

  private:
    void FlushLocked();

    std::string output_root_;
    EntryOfJob entry_of_job_;
    size_t flush_every_;
    std::mutex mutex_;
    std::vector<ManifestEntry> pending_;
    size_t finished_ = 0;
    bool damaged_noted_ = false;
    std::optional<std::string> failure_;
};

}  // namespace pelimon
