// Trellis quantisation: for each block, the levels that minimise weighted squared error plus
// lambda times the bits the Huffman code spends on them. The AC search is a shortest path over
// the zigzag positions whose state is the last nonzero coefficient, so it weighs every run of
// zeros, every run of sixteen, and every place for the end of block; each coefficient may take
// its rounded level or the level one below (which may save a magnitude bit), or become zero. The
// DC search runs over a chain of blocks, because each DC is coded as the difference to the last.
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

// Bits for `run` zeros then a coefficient of magnitude category `size`, extra bits included.
float RunBits(const JpegBitCosts& costs, int run, int size) {
    return static_cast<float>(run >> 4) * costs.ac[0xF0] + costs.ac[static_cast<size_t>(((run & 15) << 4) | size)] +
           static_cast<float>(size);
}

float DcBits(const JpegBitCosts& costs, int difference) {
    const int size = SizeOf(std::abs(difference));
    return costs.dc[static_cast<size_t>(size)] + static_cast<float>(size);
}

float Squared(float value) {
    return value * value;
}

}  // namespace

void TrellisQuantiseAc(const float coefficients[64], const TrellisTable& table, float lambda, int16_t levels[64]) {
    const JpegBitCosts& costs = *table.costs;
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
    for (int k = 1; k < 64; ++k) {
        const size_t natural = kZigzagToNatural[static_cast<size_t>(k)];
        levels[natural] = 0;
        const float magnitude = std::fabs(coefficients[natural]);
        const float step = table.quant[natural];
        const float weight = table.weight[natural];
        const float zeroed = weight * Squared(magnitude);
        zero_error[k] = zero_error[k - 1] + zeroed;
        const int rounded = std::min(static_cast<int>(magnitude / step + 0.5f), kMaxAcLevel);
        if (rounded == 0) {
            least_error[k] = least_error[k - 1] + zeroed;
            continue;
        }
        const float rounded_error = weight * Squared(magnitude - static_cast<float>(rounded) * step);
        least_error[k] = least_error[k - 1] + std::min(zeroed, rounded_error);
        // One level below the rounded one only helps when it needs a magnitude bit less: within
        // a size category the symbol and its extra bits stay the same.
        const int lowest = rounded > 1 && (rounded & (rounded - 1)) == 0 ? rounded - 1 : rounded;
        float best_cost = INFINITY;
        int best_from = 0;
        int best_level = rounded;
        // From the nearest state back. Any path through a state at `from` costs at least the least
        // error up to it plus the error of zeroing the coefficients after it, a bound that only grows
        // going back, so the search stops once that bound passes the cheapest path found.
        for (int s = states - 1; s >= 0; --s) {
            const int from = position[s];
            const float zeros = zero_error[k - 1] - zero_error[from];
            if (least_error[from] + zeros + rounded_error >= best_cost) {
                break;
            }
            for (int level = rounded; level >= lowest; --level) {
                const int size = SizeOf(level);
                const float own =
                    level == rounded ? rounded_error : weight * Squared(magnitude - static_cast<float>(level) * step);
                const float cost = best[s] + zeros + own + lambda * RunBits(costs, k - from - 1, size);
                if (cost < best_cost) {
                    best_cost = cost;
                    best_from = s;
                    best_level = level;
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
