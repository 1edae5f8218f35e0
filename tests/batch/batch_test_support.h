// Temporary folders, generated images and file helpers for the batch tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imagelib/image.h"
#include "settings/app_settings.h"

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
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Settings for a batch over the files of `source_folder`: outputs go to its subfolder "out" and
// are named after their source with "_s" added; everything else keeps its default.
AppSettings BatchSettings(const std::string& source_folder);

// A smooth colour gradient with some detail, so that encoders and resamplers have work to do.
Image MakeTestImage(int width, int height, int seed = 0);

// Encodes and writes: the format follows the extension (.jpg, .png, .bmp, .gif).
void WriteImageFile(const std::string& path, const Image& image);
// A JPEG whose Exif segment holds the Orientation (1..8) and, when not empty, DateTimeOriginal
// ("YYYY:MM:DD HH:MM:SS").
void WriteJpegWithExif(const std::string& path, const Image& image, int orientation,
                       const std::string& date_time_original = "");

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Names of the entries of a folder, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

}  // namespace pelimon::testing
