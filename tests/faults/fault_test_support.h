// Helpers of the fault tests: a scratch folder for runs of the pelimon binary, mounting small or
// read-only file systems when the test runs as root, and checking what a run left in a folder.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/batch/batch_test_support.h"
#include "tests/support/pelimon_process.h"

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

bool RunningAsRoot();

// A file system mounted on an existing folder for the life of the object (root only). The mount
// is detached on destruction, so a test that fails half-way leaves nothing mounted.
class ScopedMount {
  public:
    // A tmpfs with mount options such as "size=1m" or "ro,size=64k". nullopt and `why` set when
    // the mount fails (no privilege, no tmpfs).
    static std::optional<ScopedMount> Tmpfs(const std::string& folder, const std::string& options, std::string& why);
    // `folder` bound onto itself read-only: its files stay readable, nothing can be written.
    static std::optional<ScopedMount> ReadOnlyBind(const std::string& folder, std::string& why);

    ScopedMount(ScopedMount&& other) noexcept;
    ScopedMount& operator=(ScopedMount&&) = delete;
    ScopedMount(const ScopedMount&) = delete;
    ~ScopedMount();

  private:
    explicit ScopedMount(std::string folder) : folder_(std::move(folder)) {}
    std::string folder_;  // empty once moved from
};

// Makes `folder` refuse writes for the life of the object: a read-only bind mount as root (root
// ignores permissions), else mode 0555, given back on destruction. ok() is false, and why() says
// why, when neither is possible.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const std::string& folder);
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    ~ReadOnlyFolder();

    bool ok() const { return ok_; }
    const std::string& why() const { return why_; }

  private:
    std::string folder_;
    std::string why_;                   // before mount_, which fills it
    std::optional<ScopedMount> mount_;  // as root
    bool ok_ = false;
};

// Names in `folder` that a batch must never leave behind: its temporary files (".pelimon-").
std::vector<std::string> TemporaryFilesIn(const std::string& folder);

// Empty when `path` is a complete image: it decodes, and its bytes end where the format says
// (JPEG EOI, PNG IEND, GIF trailer, BMP file size). Otherwise what is wrong.
std::string IncompleteImageProblem(const std::string& path);

// The regular files of `folder` that are not complete images, each with its problem.
std::vector<std::string> IncompleteImagesIn(const std::string& folder);

}  // namespace pelimon::test
