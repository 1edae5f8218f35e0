// Helpers of the fault tests: a scratch folder for runs of the pelimon binary and checking what a
// run left in a folder; mounting small or read-only file systems is in tests/support.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/batch/batch_test_support.h"
#include "tests/support/pelimon_process.h"
#include "tests/support/read_only_folder.h"

namespace pelimon::test {

// Settings of a run: every image type listed, sizes halved in both directions, "<name>_s" names,
// the source's own type, into `output_path`; `extra` is appended to the [Option] section.
std::string SettingsText(const std::string& output_path, const std::string& extra = "");

// A scratch folder holding the sources ("src/"), the settings file and the captured standard
// error; the test puts its output folder where the fault needs it.
class PelimonRunTest : public ::testing::Test {
  protected:
    PelimonRunTest();
    // Runs pelimon with the settings file of the fixture.
    ProcessResult Pelimon(const std::vector<std::string>& args) const;

    TempFolder scratch;
    std::string src;  // ends with '/'
    std::string ini;
};

// stem + i + tail, e.g. "p" 3 ".jpg" gives "p3.jpg" (built by appending: GCC 12 warns falsely
// about the chained operator+ of std::string).
std::string NumberedName(const std::string& stem, int i, const std::string& tail);

// Names in `folder` that a batch must never leave behind: its temporary files (".pelimon-").
std::vector<std::string> TemporaryFilesIn(const std::string& folder);

// Empty when `path` is a complete image: it decodes, and its bytes end where the format says
// (JPEG EOI, PNG IEND, GIF trailer, BMP file size). Otherwise what is wrong.
std::string IncompleteImageProblem(const std::string& path);

// The regular files of `folder` that are not complete images, each with its problem.
std::vector<std::string> IncompleteImagesIn(const std::string& folder);

}  // namespace pelimon::test
