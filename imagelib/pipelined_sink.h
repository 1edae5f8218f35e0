// A RowSink that hands its rows to another sink on a thread of its own, so that a decoder and the
// work of the sink it feeds (the reduction of a large image) overlap on two cores.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "imagelib/imagelib.h"

namespace pelimon {

class PipelinedSink final : public RowSink {
  public:
    // `inner` gets every row, in order, on the second thread; `ring_rows` rows may wait for it.
    explicit PipelinedSink(RowSink& inner, int ring_rows = 32);
    ~PipelinedSink() override;
    PipelinedSink(const PipelinedSink&) = delete;
    PipelinedSink& operator=(const PipelinedSink&) = delete;

    // Calls inner.Begin on this thread; the second thread starts when it succeeds.
    Status Begin(int width, int height) override;
    // Copies the row into the ring, waiting while the ring is full.
    void Row(const uint8_t* rgb) override;
    // Waits until the inner sink has taken every row given so far. Called by the destructor too;
    // the inner sink's results may be read only after it.
    void Finish();

  private:
    void Work();

    RowSink& inner_;
    size_t slots_;
    size_t stride_ = 0;
    std::vector<uint8_t> ring_;
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t written_ = 0;  // rows put into the ring
    uint64_t taken_ = 0;    // rows the inner sink has finished with
    bool closing_ = false;
    std::thread worker_;
};

}  // namespace pelimon
