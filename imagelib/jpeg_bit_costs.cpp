// Bit costs of Huffman symbols from the symbol counts of a first quantisation: an optimised table
// gives a symbol about -log2 of its share of the symbols, never less than 1 bit nor more than 16.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "imagelib/jpeg_coefficients.h"

namespace pelimon::imagelib_detail {

const std::array<uint8_t, 64> kZigzagToNatural = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                                  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                                  35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                                  58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

namespace {

constexpr float kMinBits = 1.0f;
constexpr float kMaxBits = 16.0f;

template <size_t N>
void CostsFromCounts(const std::array<uint32_t, N>& counts, std::array<float, N>& costs) {
    uint64_t total = 0;
    for (uint32_t count : counts) {
        total += count;
    }
    // A symbol never seen would get one of the longest codes.
    const float unseen =
        std::clamp(static_cast<float>(std::log2(static_cast<double>(total) + 2.0)) + 1.0f, 4.0f, kMaxBits);
    for (size_t i = 0; i < N; ++i) {
        if (counts[i] == 0) {
            costs[i] = unseen;
            continue;
        }
        const double share = static_cast<double>(counts[i]) / static_cast<double>(total);
        costs[i] = std::clamp(static_cast<float>(-std::log2(share)), kMinBits, kMaxBits);
    }
}

}  // namespace

void JpegSymbolCounts::AddAc(const int16_t levels[64]) {
    // Which zigzag positions hold a nonzero level, so that the runs of zeros between them (most of
    // a block) are skipped in one step each.
    uint64_t nonzero = 0;
    for (size_t k = 1; k < 64; ++k) {
        nonzero |= static_cast<uint64_t>(levels[kZigzagToNatural[k]] != 0) << k;
    }
    int last = 0;
    while (nonzero != 0) {
        const int k = std::countr_zero(nonzero);
        nonzero &= nonzero - 1;
        int run = k - last - 1;
        for (; run >= 16; run -= 16) {
            ++ac[0xF0];
        }
        const int level = levels[kZigzagToNatural[static_cast<size_t>(k)]];
        const int size = static_cast<int>(std::bit_width(static_cast<unsigned>(std::abs(level))));
        ++ac[static_cast<size_t>((run << 4) | size)];
        last = k;
    }
    if (last < 63) {
        ++ac[0x00];
    }
}

void JpegSymbolCounts::AddDc(int difference) {
    ++dc[static_cast<size_t>(std::bit_width(static_cast<unsigned>(std::abs(difference))))];
}

float RunBits(const JpegBitCosts& costs, int run, int size) {
    return static_cast<float>(run >> 4) * costs.ac[0xF0] + costs.ac[static_cast<size_t>(((run & 15) << 4) | size)] +
           static_cast<float>(size);
}

JpegBitCosts CostsOf(const JpegSymbolCounts& counts) {
    JpegBitCosts costs;
    CostsFromCounts(counts.dc, costs.dc);
    CostsFromCounts(counts.ac, costs.ac);
    for (int run = 0; run < 63; ++run) {
        for (int size = 1; size < 16; ++size) {
            costs.run_bits[static_cast<size_t>(run * 16 + size)] = RunBits(costs, run, size);
        }
    }
    return costs;
}

}  // namespace pelimon::imagelib_detail
