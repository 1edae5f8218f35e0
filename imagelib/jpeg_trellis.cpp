// Trellis quantisation: for each block, the levels that minimise weighted squared error plus
// lambda times the bits the Huffman code spends on them. The AC search is a shortest path over
// the zigzag positions whose state is the last nonzero coefficient, so it weighs every run of
// zeros, every run of sixteen, and every place for the end of block; each coefficient may take
// its rounded level or the level one below (which may save a magnitude bit), or become zero. The
// DC search runs over a chain of blocks, because each DC is coded as the difference to the last.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "imagelib/jpeg_coefficients.h"

namespace pelimon::imagelib_detail {

namespace {

constexpr int kMaxAcLevel = 1023;
// DC levels stay within what 8-bit samples give (-1024..1016 at a step of 1), so that a difference
// never needs more than 11 magnitude bits.
constexpr int kMaxDcLevel = 1023;

int SizeOf(int magnitude) {
    return static_cast<int>(std::bit_width(static_cast<unsigned>(magnitude)));
}

float DcBits(const JpegBitCosts& costs, int difference) {
    const int size = SizeOf(std::abs(difference));
    return costs.dc[static_cast<size_t>(size)] + static_cast<float>(size);
}

float Squared(float value) {
    return value * value;
}

}  // namespace

TrellisTable::TrellisTable(const std::array<uint16_t, 64>& steps) : quant(steps) {
    for (size_t i = 0; i < 64; ++i) {
        weight[i] = 1.0f / static_cast<float>(quant[i] * quant[i]);
    }
    for (size_t k = 0; k < 64; ++k) {
        zigzag_step[k] = quant[kZigzagToNatural[k]];
        zigzag_weight[k] = weight[kZigzagToNatural[k]];
    }
}

void TrellisQuantiseAc(const float coefficients[64], const TrellisTable& table, float lambda, int16_t levels[64]) {
    const JpegBitCosts& costs = *table.costs;
    // The block in zigzag order: magnitudes, the weighted error of zeroing each, and rounded levels,
    // computed over whole arrays (in vector registers) before the walk, which visits only the
    // coefficients that rounding keeps.
    float magnitudes[64];
    float zeroed[64];
    int rounded_levels[64];
    for (size_t k = 1; k < 64; ++k) {
        magnitudes[k] = std::fabs(coefficients[kZigzagToNatural[k]]);
    }
    for (size_t k = 1; k < 64; ++k) {
        zeroed[k] = table.zigzag_weight[k] * Squared(magnitudes[k]);
        rounded_levels[k] = std::min(static_cast<int>(magnitudes[k] / table.zigzag_step[k] + 0.5f), kMaxAcLevel);
    }
    const int16_t dc = levels[0];
    std::fill(levels, levels + 64, int16_t{0});
    levels[0] = dc;
    // zero_error[k]: the weighted error of zeroing every coefficient from zigzag 1 to k;
    // least_error[k]: the least error any choice of levels leaves over the same coefficients.
    float zero_error[64];
    float least_error[64];
    // The states: zigzag positions that can hold a nonzero level, with the cheapest path to them.
    int position[64];
    float best[64];
    int previous[64];
    int chosen[64];
    int states = 1;
    position[0] = 0;
    best[0] = 0.0f;
    zero_error[0] = 0.0f;
    least_error[0] = 0.0f;
    // The running sums, kept in registers: most coefficients round to zero and only add to them.
    float zero_sum = 0.0f;
    float least_sum = 0.0f;
    for (int k = 1; k < 64; ++k) {
        const float zero_before = zero_sum;
        const float zeroed_error = zeroed[k];
        zero_sum += zeroed_error;
        zero_error[k] = zero_sum;
        const int rounded = rounded_levels[k];
        if (rounded == 0) {
            least_sum += zeroed_error;
            least_error[k] = least_sum;
            continue;
        }
        const float magnitude = magnitudes[k];
        const float step = table.zigzag_step[static_cast<size_t>(k)];
        const float weight = table.zigzag_weight[static_cast<size_t>(k)];
        const float rounded_error = weight * Squared(magnitude - static_cast<float>(rounded) * step);
        least_sum += std::min(zeroed_error, rounded_error);
        least_error[k] = least_sum;
        // One level below the rounded one only helps when it needs a magnitude bit less: within
        // a size category the symbol and its extra bits stay the same.
        const int lowest = rounded > 1 && (rounded & (rounded - 1)) == 0 ? rounded - 1 : rounded;
        const int rounded_size = SizeOf(rounded);
        const float lowest_error = weight * Squared(magnitude - static_cast<float>(lowest) * step);
        float best_cost = INFINITY;
        int best_from = 0;
        int best_level = rounded;
        // From the nearest state back. Any path through a state at `from` costs at least the least
        // error up to it plus the error of zeroing the coefficients after it, a bound that only grows
        // going back, so the search stops once that bound passes the cheapest path found.
        for (int s = states - 1; s >= 0; --s) {
            const int from = position[s];
            const float zeros = zero_before - zero_error[from];
            if (least_error[from] + zeros + rounded_error >= best_cost) {
                break;
            }
            const float* bits = costs.run_bits.data() + static_cast<size_t>(k - from - 1) * 16;
            const float cost = best[s] + zeros + rounded_error + lambda * bits[rounded_size];
            if (cost < best_cost) {
                best_cost = cost;
                best_from = s;
                best_level = rounded;
            }
            if (lowest != rounded) {
                const float lower = best[s] + zeros + lowest_error + lambda * bits[rounded_size - 1];
                if (lower < best_cost) {
                    best_cost = lower;
                    best_from = s;
                    best_level = lowest;
                }
            }
        }
        position[states] = k;
        best[states] = best_cost;
        previous[states] = best_from;
        chosen[states] = best_level;
        ++states;
    }
    float best_total = INFINITY;
    int last = 0;
    for (int s = 0; s < states; ++s) {
        const int from = position[s];
        const float eob = from < 63 ? lambda * costs.ac[0x00] : 0.0f;
        const float total = best[s] + (zero_error[63] - zero_error[from]) + eob;
        if (total < best_total) {
            best_total = total;
            last = s;
        }
    }
    for (int s = last; s > 0; s = previous[s]) {
        const size_t natural = kZigzagToNatural[static_cast<size_t>(position[s])];
        const int level = chosen[s];
        levels[natural] = static_cast<int16_t>(coefficients[natural] < 0 ? -level : level);
    }
}

double AcRateDistortionCost(const float coefficients[64], const TrellisTable& table, float lambda,
                            const int16_t levels[64]) {
    const JpegBitCosts& costs = *table.costs;
    double cost = 0.0;
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const size_t natural = kZigzagToNatural[static_cast<size_t>(k)];
        const float error = coefficients[natural] - static_cast<float>(levels[natural] * table.quant[natural]);
        cost += table.weight[natural] * Squared(error);
        if (levels[natural] == 0) {
            ++run;
            continue;
        }
        cost += lambda * RunBits(costs, run, SizeOf(std::abs(levels[natural])));
        run = 0;
    }
    if (run > 0) {
        cost += lambda * costs.ac[0x00];
    }
    return cost;
}

void TrellisQuantiseDc(std::span<const float> dc, const TrellisTable& table, float lambda, std::span<int16_t> levels,
                       std::vector<uint8_t>& scratch) {
    const JpegBitCosts& costs = *table.costs;
    const float step = table.quant[0];
    const float weight = table.weight[0];
    scratch.resize(dc.size());
    // Two candidates per block, the levels below and above the quotient; cost[c] is the cheapest
    // chain up to the current block ending in candidate c.
    float cost[2] = {0.0f, INFINITY};
    int level[2] = {0, 0};
    for (size_t i = 0; i < dc.size(); ++i) {
        const float quotient = dc[i] / step;
        const int low = std::clamp(static_cast<int>(std::floor(quotient)), -kMaxDcLevel - 1, kMaxDcLevel - 1);
        float next_cost[2];
        int next_level[2] = {low, low + 1};
        uint8_t from[2] = {0, 0};
        for (int c = 0; c < 2; ++c) {
            const float own = weight * Squared(dc[i] - static_cast<float>(next_level[c]) * step);
            next_cost[c] = INFINITY;
            for (int p = 0; p < 2; ++p) {
                const float total = cost[p] + own + lambda * DcBits(costs, next_level[c] - level[p]);
                if (total < next_cost[c]) {
                    next_cost[c] = total;
                    from[c] = static_cast<uint8_t>(p);
                }
            }
        }
        scratch[i] = static_cast<uint8_t>(from[0] | (from[1] << 1));
        for (int c = 0; c < 2; ++c) {
            cost[c] = next_cost[c];
            level[c] = next_level[c];
        }
    }
    if (dc.empty()) {
        return;
    }
    int c = cost[1] < cost[0] ? 1 : 0;
    for (size_t i = dc.size(); i-- > 0;) {
        const int low = std::clamp(static_cast<int>(std::floor(dc[i] / step)), -kMaxDcLevel - 1, kMaxDcLevel - 1);
        levels[i] = static_cast<int16_t>(low + c);
        c = (scratch[i] >> c) & 1;
    }
}

double DcRateDistortionCost(std::span<const float> dc, const TrellisTable& table, float lambda,
                            std::span<const int16_t> levels) {
    double cost = 0.0;
    int previous = 0;
    for (size_t i = 0; i < dc.size(); ++i) {
        cost += table.weight[0] * Squared(dc[i] - static_cast<float>(levels[i] * table.quant[0])) +
                lambda * DcBits(*table.costs, levels[i] - previous);
        previous = levels[i];
    }
    return cost;
}

}  // namespace pelimon::imagelib_detail
