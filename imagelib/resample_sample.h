// Sampling over source rows that come one at a time, top to bottom: each output row copies, from
// the source row under its centre, the pixels under its columns' centres. Rows under no output
// row are dropped, so only the output is held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/image.h"

namespace pelimon::imagelib_detail {

class SampleStream {
  public:
    // Resets `dst` to width x height (both at least 1) for a src_width x src_height source (both
    // at least 1); `dst` must outlive the stream.
    SampleStream(int src_width, int src_height, int width, int height, Image& dst);
    void PushRow(const uint8_t* row);
    bool done() const { return next_output_ >= dst_.height(); }

  private:
    Image& dst_;
    int src_height_;
    std::vector<size_t> columns_;  // byte offset in a source row of each output column
    int next_source_ = 0;
    int next_output_ = 0;
};

}  // namespace pelimon::imagelib_detail
