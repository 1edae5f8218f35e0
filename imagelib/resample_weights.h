// The separable resampling engine behind the area-average and triangle resizers: per-axis tables
// of fixed-point weights, precomputed once per call, and a two-pass apply (horizontal into a ring
// of reduced rows, then vertical) that uses only integer multiply-adds in its inner loops.
#pragma once

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

// Applies the two tables to `src` into `dst`, which is reset to the tables' output size.
// `dst` must not be `src`.
void ResampleSeparable(const Image& src, const AxisWeights& horizontal, const AxisWeights& vertical, Image& dst);

}  // namespace pelimon::imagelib_detail
