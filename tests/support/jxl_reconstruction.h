// The JPEG that libjxl rebuilds from a JPEG XL file holding a lossless JPEG recompression, as
// djxl does when it writes a .jpg.
#pragma once

#include <cstdint>
#include <vector>

namespace pelimon::test {

// Empty when the file holds no JPEG reconstruction data (it was encoded from pixels) or is damaged.
std::vector<uint8_t> ReconstructJpeg(const std::vector<uint8_t>& jxl);

}  // namespace pelimon::test
