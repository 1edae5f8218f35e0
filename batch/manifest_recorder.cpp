#include "batch/manifest_recorder.h"

#include <utility>

#include "batch/batch_texts.h"

namespace pelimon {

ManifestRecorder::ManifestRecorder(std::string output_root, EntryOfJob entry_of_job, size_t flush_every)
    : output_root_(std::move(output_root)), entry_of_job_(std::move(entry_of_job)), flush_every_(flush_every) {}

void ManifestRecorder::Finished(size_t job, bool written) {
    const std::lock_guard lock(mutex_);
    if (written) {
        if (std::optional<ManifestEntry> entry = entry_of_job_(job)) {
            pending_.push_back(std::move(*entry));
        }
    }
    if (++finished_ % flush_every_ == 0) {
        FlushLocked();
    }
}

void ManifestRecorder::Flush() {
    const std::lock_guard lock(mutex_);
    FlushLocked();
}

void ManifestRecorder::FlushLocked() {
    if (pending_.empty()) {
        return;
    }
    bool damaged = false;
    const Status merged = MergeIntoManifest(output_root_, pending_, damaged);
    if (damaged) {
        damaged_noted_ = true;
    }
    if (!merged.ok()) {
        failure_ = merged.error().message;  // kept pending: the next flush tries again
        return;
    }
    failure_.reset();
    pending_.clear();
}

std::vector<std::string> ManifestRecorder::TakeNotes() {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> notes;
    if (damaged_noted_) {
        notes.push_back(batch_texts::ManifestDamaged(output_root_ + std::string(kManifestName)));
    }
    if (failure_) {
        notes.push_back(batch_texts::ManifestNotWritten(*failure_));
    }
    damaged_noted_ = false;
    failure_.reset();
    return notes;
}

}  // namespace pelimon
