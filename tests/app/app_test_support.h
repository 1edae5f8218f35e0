// Helpers of the app tests: generated images and folder listings, on top of tests/support.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/fake_interaction.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace pelimon::test {

// Writes `size` bytes of zeros to `path`.
void WriteSizedFile(const std::string& path, uint64_t size);
// Writes a width x height gradient as a JPEG (quality 90) or a PNG.
void WriteJpeg(const std::string& path, int width, int height);
void WritePng(const std::string& path, int width, int height);

// The names of the regular files of a folder, sorted.
std::vector<std::string> FileNames(const std::string& folder);

}  // namespace pelimon::test
