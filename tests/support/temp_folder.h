// A temporary folder for the files a test writes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelimon::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
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

  private:
    std::filesystem::path path_;
};

}  // namespace pelimon::testing
