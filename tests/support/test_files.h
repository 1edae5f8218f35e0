// Reading and writing the small files of a test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelimon::test {

// Writes `bytes` to `path`, replacing the file.
void WriteBytes(const std::string& path, std::string_view bytes);
// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadText(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace pelimon::test
