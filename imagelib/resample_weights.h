// The separable resampling engine behind the area-average and triangle resizers: per-axis tables
// of fixed-point weights, precomputed once per call, and a two-pass apply (horizontal into a ring
// of reduced rows, then vertical) that uses only integer multiply-adds in its inner loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/image.h"

namespace pelimon::imagelib_detail {

inline constexpr int kWeightBits = 16;
inline constexpr uint32_t kWeightOne = uint32_t{1} << kWeightBits;

// Weights of one axis: output position i reads source positions start[i] .. start[i] + taps - 1
// with weights[i * taps .. i * taps + taps - 1]; every position's weights sum to exactly kWeightOne.
// Positions that need fewer taps are padded with zero weights, so every loop has the same length.
struct AxisWeights {
    int taps = 0;
    std::vector<int> start;
    std::vector<uint32_t> weights;
};

// Coverage weights: output i spans source [i * src / dst, (i + 1) * src / dst), and each source pixel
// weighs the length of its overlap with that span. For dst == src this is the identity.
AxisWeights AreaWeights(int src_size, int dst_size);

// Triangle (tent) weights centred on each output pixel's centre, with a radius of one source pixel
// when enlarging and of one output pixel (in source units) when reducing. The filter is cut at the
// edges and renormalised.
AxisWeights TriangleWeights(int src_size, int dst_size);

// The two passes over source rows that come one at a time, top to bottom: a row is reduced
// horizontally as it comes (when some output row's window holds it; rows no window holds are
// dropped), into a ring of `vertical.taps` reduced rows, and each output row is finished as soon
// as the last row of its window has come. Only the ring and `dst` are held, whatever the source's
// height; the arithmetic, and so every output byte, is the same however the rows arrive.
class SeparableStream {
  public:
    // Resets `dst` to the tables' output size; `dst` must outlive the stream.
    SeparableStream(AxisWeights horizontal, AxisWeights vertical, Image& dst);
    // Takes the next source row (3 bytes per pixel, as many pixels as the horizontal table reads).
    void PushRow(const uint8_t* row);
    // Whether every output row is finished.
    bool done() const { return next_output_ >= static_cast<int>(vertical_.start.size()); }

  private:
    void FinishRow(int y);

    AxisWeights horizontal_;
    AxisWeights vertical_;
    Image& dst_;
    size_t row_values_;
    std::vector<uint16_t> ring_;  // source row r lives in slot r % taps
    std::vector<uint32_t> sums_;
    int next_source_ = 0;  // index of the next row PushRow takes
    int next_output_ = 0;  // first output row not yet finished
};

// Coverage weights where the axis shrinks or keeps its size; a growing axis would only replicate
// blocks of pixels, so it interpolates with the triangle filter instead.
AxisWeights AreaOrTriangleWeights(int src_size, int dst_size);

// Applies the two tables to `src` into `dst`, which is reset to the tables' output size.
// `dst` must not be `src`.
void ResampleSeparable(const Image& src, const AxisWeights& horizontal, const AxisWeights& vertical, Image& dst);

}  // namespace pelimon::imagelib_detail
