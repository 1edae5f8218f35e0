#include "imagelib/pipelined_sink.h"

#include <algorithm>

namespace pelimon {

PipelinedSink::PipelinedSink(RowSink& inner, int ring_rows)
    : inner_(inner), slots_(static_cast<size_t>(std::max(ring_rows, 2))) {}

PipelinedSink::~PipelinedSink() {
    Finish();
}

Status PipelinedSink::Begin(int width, int height) {
    if (Status begun = inner_.Begin(width, height); !begun) {
        return begun;
    }
    stride_ = 3 * static_cast<size_t>(width);
    ring_.resize(slots_ * stride_);
    worker_ = std::thread([this] { Work(); });
    return {};
}

void PipelinedSink::Row(const uint8_t* rgb) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return written_ - taken_ < slots_; });
    uint8_t* slot = ring_.data() + written_ % slots_ * stride_;
    lock.unlock();
    std::copy_n(rgb, stride_, slot);  // the worker reads this slot only once written_ counts it
    lock.lock();
    ++written_;
    changed_.notify_all();
}

void PipelinedSink::Finish() {
    if (!worker_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }
    worker_.join();
}

void PipelinedSink::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return taken_ < written_ || closing_; });
        if (taken_ == written_) {
            return;  // closing, and every row taken
        }
        const uint8_t* slot = ring_.data() + taken_ % slots_ * stride_;
        lock.unlock();
        inner_.Row(slot);
        lock.lock();
        ++taken_;
        changed_.notify_all();
    }
}

}  // namespace pelimon
