// SIGTERM in the middle of an unattended batch: the run stops between images, says so in its
// exit status, and leaves only complete files.
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::NumberedName;
using test::PelimonProcess;
using test::PelimonRunTest;
using test::ProcessResult;
using test::TemporaryFilesIn;
using test::WriteImageFile;

constexpr int kSources = 40;

// Watches a folder for files renamed into it.
class RenameWatch {
  public:
    explicit RenameWatch(const std::string& folder) : fd_(inotify_init1(IN_CLOEXEC)) {
        if (fd_ >= 0) {
            inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO);
        }
    }
    RenameWatch(const RenameWatch&) = delete;
    RenameWatch& operator=(const RenameWatch&) = delete;
    ~RenameWatch() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool ok() const { return fd_ >= 0; }
    // Blocks until the first file arrives.
    void WaitForFirst() const {
        alignas(inotify_event) std::array<char, 4096> buffer{};
        while (read(fd_, buffer.data(), buffer.size()) < 0 && errno == EINTR) {
        }
    }

  private:
    int fd_;
};

using InterruptedRun = PelimonRunTest;

TEST_F(InterruptedRun, StopsBetweenImagesAndLeavesOnlyCompleteFiles) {
    const std::string out = scratch / "out/";
    std::filesystem::create_directories(out);
    for (int i = 0; i < kSources; ++i) {
        WriteImageFile(src + NumberedName("p", i, ".jpg"), MakeTestImage(640, 480, i));
    }
    test::WriteBytes(ini, test::SettingsText(out));
    const RenameWatch watch(out);
    ASSERT_TRUE(watch.ok());

    ProcessResult run;
    {
        PelimonProcess process({"/Q", src}, ini, scratch / "stderr.txt");
        // The first output is in place: the batch is running (or, on a fast machine, done).
        watch.WaitForFirst();
        kill(process.pid(), SIGTERM);
        run = process.Wait();
    }

    EXPECT_EQ(run.signal, 0) << "ended by signal " << run.signal;
    const int written = static_cast<int>(ListFolder(out).size());
    EXPECT_GE(written, 1);
    if (run.status == 130) {
        EXPECT_LT(written, kSources);
        EXPECT_NE(run.err.find("中断しました"), std::string::npos) << run.err;
    } else {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(written, kSources);
    }
    EXPECT_TRUE(TemporaryFilesIn(out).empty()) << ::testing::PrintToString(TemporaryFilesIn(out));
    EXPECT_TRUE(IncompleteImagesIn(out).empty()) << ::testing::PrintToString(IncompleteImagesIn(out));
}

}  // namespace
}  // namespace pelimon
