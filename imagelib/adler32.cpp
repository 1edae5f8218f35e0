// The two sums of Adler-32 over blocks of 16 bytes: s1 grows by the bytes' sum, s2 by 16 times s1
// before the block plus the bytes weighted 16, 15, ..., 1. Both stay exact in 32 bits for as many
// bytes as zlib takes between reductions modulo 65521 (5552), rounded down to whole blocks.
#include "imagelib/adler32.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelimon::imagelib_detail {

namespace {

constexpr uint32_t kModulus = 65521;
constexpr size_t kBlock = 16;
constexpr size_t kRun = 5552 / kBlock * kBlock;  // bytes between reductions

#if defined(__SSE2__)
// s1 and s2 over `blocks` whole blocks at `p`, continued from s1 and s2 (not reduced).
void SumBlocks(const uint8_t* p, size_t blocks, uint32_t& s1, uint32_t& s2) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i weights_low = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i weights_high = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    __m128i sums = zero;      // byte sums, in lanes 0 and 2
    __m128i weighted = zero;  // weighted byte sums
    __m128i earlier = zero;   // the byte sums before each block, added up
    for (size_t b = 0; b < blocks; ++b, p += kBlock) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        earlier = _mm_add_epi32(earlier, sums);
        sums = _mm_add_epi32(sums, _mm_sad_epu8(bytes, zero));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weights_low));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weights_high));
    }
    alignas(16) uint32_t lanes[3][4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[0]), sums);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[1]), weighted);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[2]), earlier);
    s2 += s1 * static_cast<uint32_t>(kBlock * blocks) + lanes[1][0] + lanes[1][1] + lanes[1][2] + lanes[1][3] +
          static_cast<uint32_t>(kBlock) * (lanes[2][0] + lanes[2][2]);
    s1 += lanes[0][0] + lanes[0][2];
}
#else
void SumBlocks(const uint8_t* p, size_t blocks, uint32_t& s1, uint32_t& s2) {
    for (size_t i = 0; i < blocks * kBlock; ++i) {
        s1 += p[i];
        s2 += s1;
    }
}
#endif

}  // namespace

uint32_t Adler32(uint32_t adler, ByteView bytes) {
    uint32_t s1 = adler & 0xFFFF;
    uint32_t s2 = adler >> 16;
    const uint8_t* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const size_t run = left < kRun ? left : kRun;
        const size_t blocks = run / kBlock;
        SumBlocks(p, blocks, s1, s2);
        for (size_t i = blocks * kBlock; i < run; ++i) {
            s1 += p[i];
            s2 += s1;
        }
        p += run;
        left -= run;
        s1 %= kModulus;
        s2 %= kModulus;
    }
    return s2 << 16 | s1;
}

}  // namespace pelimon::imagelib_detail
