#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <system_error>
#include <vector>

#include "tests/support/test_files.h"

namespace pelimon::test {

TempFolder::TempFolder() {
    const std::string pattern = (std::filesystem::temp_directory_path() / "pelimon-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    EXPECT_NE(made, nullptr) << "cannot make a temporary folder like " << pattern;
    path_ = made != nullptr ? made : pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string TempFolder::Path(std::string_view relative) const {
    const std::filesystem::path path = path_ / relative;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return path.string();
}

std::string TempFolder::Write(std::string_view relative, std::string_view bytes) const {
    const std::string path = Path(relative);
    WriteBytes(path, bytes);
    return path;
}

}  // namespace pelimon::test
