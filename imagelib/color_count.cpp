// Distinct colours, counted with one bit per possible 24-bit colour (2 MiB).
#include <bit>
#include <vector>

#include "imagelib/imagelib.h"

namespace pelimon {

uint32_t CountColors(const Image& image) {
    std::vector<uint64_t> seen(size_t{1} << 18);
    const uint8_t* p = image.data();
    const size_t pixels = image.size_bytes() / 3;
    for (size_t i = 0; i < pixels; ++i, p += 3) {
        const uint32_t colour = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        seen[colour >> 6] |= uint64_t{1} << (colour & 63);
    }
    uint32_t count = 0;
    for (const uint64_t word : seen) {
        count += static_cast<uint32_t>(std::popcount(word));
    }
    return count;
}

}  // namespace pelimon
