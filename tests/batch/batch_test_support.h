// Generated images, batch settings and folder listings for the batch tests; temporary folders and
// file helpers come from tests/support.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "imagelib/image.h"
#include "settings/app_settings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_files.h"

namespace pelimon::test {

// Settings for a batch over the files of `source_folder`: outputs go to its subfolder "out" and
// are named after their source with "_s" added; everything else keeps its default.
AppSettings BatchSettings(const std::string& source_folder);

// A smooth colour gradient with some detail, so that encoders and resamplers have work to do.
Image MakeTestImage(int width, int height, int seed = 0);

// Encodes and writes: the format follows the extension (any written format of the format table);
// BMP for a name without one.
void WriteImageFile(const std::string& path, const Image& image);
// A JPEG whose Exif segment holds the Orientation (1..8) and, when not empty, DateTimeOriginal
// ("YYYY:MM:DD HH:MM:SS").
void WriteJpegWithExif(const std::string& path, const Image& image, int orientation,
                       const std::string& date_time_original = "");

// An Exif date ("YYYY:MM:DD HH:MM:SS") as local time; and the modification time of a file (-1
// when it cannot be read): the shooting date dates the outputs.
std::time_t LocalTimeOf(const std::string& exif_date);
std::time_t ModificationTime(const std::string& path);

// Names of the entries of a folder, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

}  // namespace pelimon::test
