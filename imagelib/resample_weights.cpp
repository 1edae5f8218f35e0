#include "imagelib/resample_weights.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pelimon::imagelib_detail {

namespace {

// Intermediate rows keep 6 fractional bits, so that the horizontal pass loses nothing that
// matters: the two passes together stay within rounding of the exact result.
constexpr int kIntermediateBits = 6;

struct Taps {
    int first = 0;
    std::vector<double> weights;  // of source positions first, first + 1, ...
};

// Quantises each position's weights to fixed point and pads every position to the same tap count.
AxisWeights Quantise(const std::vector<Taps>& positions, int src_size) {
    AxisWeights axis;
    for (const Taps& taps : positions) {
        axis.taps = std::max(axis.taps, static_cast<int>(taps.weights.size()));
    }
    axis.start.resize(positions.size());
    axis.weights.assign(positions.size() * static_cast<size_t>(axis.taps), 0);
    for (size_t i = 0; i < positions.size(); ++i) {
        const Taps& taps = positions[i];
        double total = 0;
        for (const double w : taps.weights) {
            total += w;
        }
        const int start = std::min(taps.first, src_size - axis.taps);
        axis.start[i] = start;
        uint32_t* out =
            axis.weights.data() + i * static_cast<size_t>(axis.taps) + static_cast<size_t>(taps.first - start);
        // Rounding the running total rather than each weight keeps every weight within one unit
        // of exact, never negative, and the sum exactly kWeightOne.
        double running = 0;
        int64_t previous = 0;
        for (size_t k = 0; k < taps.weights.size(); ++k) {
            running += taps.weights[k];
            const int64_t rounded = std::llround(running / total * kWeightOne);
            out[k] = static_cast<uint32_t>(rounded - previous);
            previous = rounded;
        }
    }
    return axis;
}

// One row's horizontal pass with `taps` weights per output pixel. `kTaps` fixes the count at
// compile time for the small counts that moderate reductions use, so that the inner loop unrolls
// into straight multiply-adds; 0 reads the count from the table.
template <size_t kTaps>
void HorizontalPassOf(const uint8_t* src, const AxisWeights& axis, uint16_t* out) {
    const size_t taps = kTaps != 0 ? kTaps : static_cast<size_t>(axis.taps);
    constexpr uint32_t kShift = kWeightBits - kIntermediateBits;
    constexpr uint32_t kHalf = uint32_t{1} << (kShift - 1);
    const uint32_t* w = axis.weights.data();
    for (size_t x = 0; x < axis.start.size(); ++x, w += taps) {
        const uint8_t* in = src + 3 * static_cast<size_t>(axis.start[x]);
        uint32_t r = kHalf, g = kHalf, b = kHalf;
        for (size_t k = 0; k < taps; ++k) {
            r += w[k] * in[3 * k];
            g += w[k] * in[3 * k + 1];
            b += w[k] * in[3 * k + 2];
        }
        out[3 * x] = static_cast<uint16_t>(r >> kShift);
        out[3 * x + 1] = static_cast<uint16_t>(g >> kShift);
        out[3 * x + 2] = static_cast<uint16_t>(b >> kShift);
    }
}

void HorizontalPass(const uint8_t* src, const AxisWeights& axis, uint16_t* out) {
    switch (axis.taps) {
        case 1:
            return HorizontalPassOf<1>(src, axis, out);
        case 2:
            return HorizontalPassOf<2>(src, axis, out);
        case 3:
            return HorizontalPassOf<3>(src, axis, out);
        case 4:
            return HorizontalPassOf<4>(src, axis, out);
        default:
            return HorizontalPassOf<0>(src, axis, out);
    }
}

}  // namespace

AxisWeights AreaWeights(int src_size, int dst_size) {
    std::vector<Taps> positions(static_cast<size_t>(dst_size));
    const int64_t src = src_size;
    const int64_t dst = dst_size;
    for (int64_t i = 0; i < dst; ++i) {
        // In units of 1/dst source pixel, output i covers [i * src, (i + 1) * src) and source
        // pixel j covers [j * dst, (j + 1) * dst): overlaps are exact integers.
        const int64_t lo = i * src;
        const int64_t hi = lo + src;
        Taps& taps = positions[static_cast<size_t>(i)];
        taps.first = static_cast<int>(lo / dst);
        for (int64_t j = taps.first; j * dst < hi; ++j) {
            const int64_t overlap = std::min(hi, (j + 1) * dst) - std::max(lo, j * dst);
            taps.weights.push_back(static_cast<double>(overlap));
        }
    }
    return Quantise(positions, src_size);
}

AxisWeights TriangleWeights(int src_size, int dst_size) {
    std::vector<Taps> positions(static_cast<size_t>(dst_size));
    const double scale = static_cast<double>(src_size) / dst_size;
    const double radius = std::max(1.0, scale);
    for (int i = 0; i < dst_size; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int first = std::max(0, static_cast<int>(std::floor(centre - radius)) + 1);
        const int last = std::min(src_size - 1, static_cast<int>(std::ceil(centre + radius)) - 1);
        Taps& taps = positions[static_cast<size_t>(i)];
        taps.first = first;
        for (int j = first; j <= last; ++j) {
            taps.weights.push_back(std::max(0.0, 1.0 - std::abs(j - centre) / radius));
        }
        if (taps.weights.empty()) {  // cannot happen for sane sizes; keeps the nearest pixel
            taps.first = std::clamp(static_cast<int>(std::lround(centre)), 0, src_size - 1);
            taps.weights.push_back(1.0);
        }
    }
    return Quantise(positions, src_size);
}

AxisWeights AreaOrTriangleWeights(int src_size, int dst_size) {
    return dst_size <= src_size ? AreaWeights(src_size, dst_size) : TriangleWeights(src_size, dst_size);
}

SeparableStream::SeparableStream(AxisWeights horizontal, AxisWeights vertical, Image& dst)
    : horizontal_(std::move(horizontal)),
      vertical_(std::move(vertical)),
      dst_(dst),
      row_values_(3 * horizontal_.start.size()),
      ring_(static_cast<size_t>(vertical_.taps) * row_values_),
      sums_(row_values_) {
    dst_.Reset(static_cast<int>(horizontal_.start.size()), static_cast<int>(vertical_.start.size()));
}

void SeparableStream::PushRow(const uint8_t* row) {
    const int r = next_source_++;
    if (done() || r < vertical_.start[static_cast<size_t>(next_output_)]) {
        return;  // in no window still to come: windows only move down
    }
    const auto taps = static_cast<size_t>(vertical_.taps);
    HorizontalPass(row, horizontal_, ring_.data() + static_cast<size_t>(r) % taps * row_values_);
    while (!done() && vertical_.start[static_cast<size_t>(next_output_)] + vertical_.taps - 1 <= r) {
        FinishRow(next_output_++);
    }
}

void SeparableStream::FinishRow(int y) {
    constexpr uint32_t kShift = kWeightBits + kIntermediateBits;
    constexpr uint32_t kHalf = uint32_t{1} << (kShift - 1);
    const auto taps = static_cast<size_t>(vertical_.taps);
    const auto first = static_cast<size_t>(vertical_.start[static_cast<size_t>(y)]);
    std::fill(sums_.begin(), sums_.end(), kHalf);
    const uint32_t* w = vertical_.weights.data() + static_cast<size_t>(y) * taps;
    for (size_t k = 0; k < taps; ++k) {
        if (w[k] == 0) {
            continue;
        }
        const uint32_t weight = w[k];
        const uint16_t* in = ring_.data() + (first + k) % taps * row_values_;
        for (size_t i = 0; i < row_values_; ++i) {
            sums_[i] += weight * in[i];
        }
    }
    uint8_t* out = dst_.row(y);
    for (size_t i = 0; i < row_values_; ++i) {
        out[i] = static_cast<uint8_t>(sums_[i] >> kShift);
    }
}

void ResampleSeparable(const Image& src, const AxisWeights& horizontal, const AxisWeights& vertical, Image& dst) {
    SeparableStream stream(horizontal, vertical, dst);
    for (int y = 0; y < src.height() && !stream.done(); ++y) {
        stream.PushRow(src.row(y));
    }
}

}  // namespace pelimon::imagelib_detail
