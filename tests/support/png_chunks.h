// PNG files taken apart into chunks and put together again, for tests that make PNGs with chosen
// chunks, damaged ones included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelimon::test {

struct PngChunkData {
    std::string type;  // four letters
    std::vector<uint8_t> data;
};

// The chunks of a PNG after its signature, their CRCs ignored; a chunk cut short ends the list.
std::vector<PngChunkData> SplitPng(const std::vector<uint8_t>& png);

// A PNG of these chunks, each with the CRC that matches it.
std::vector<uint8_t> JoinPng(const std::vector<PngChunkData>& chunks);

}  // namespace pelimon::test
