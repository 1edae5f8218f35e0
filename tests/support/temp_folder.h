// A temporary folder for the files a test writes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelimon::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// Failing to make it fails the test that asked for it.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder, ending with '/'.
    std::string path() const { return path_.string() + "/"; }
    // A path inside the folder; missing parent folders are not created.
    std::string operator/(std::string_view name) const { return (path_ / name).string(); }
    // A path inside the folder; missing parent folders are created.
    std::string Path(std::string_view relative) const;
    // Writes `bytes` to the file at `relative` (parent folders created), replacing it; returns
    // its path.
    std::string Write(std::string_view relative, std::string_view bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace pelimon::test
