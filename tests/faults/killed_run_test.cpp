// SIGKILL in the middle of writing an output: nothing is left in the output folder but complete
// images, and what a killed run on a file system without unnamed temporary files left behind is
// removed by the next run (never the file of a run that is still alive).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

using test::IncompleteImagesIn;
using test::MakeTestImage;
using test::NumberedName;
using test::PelimonProcess;
using test::PelimonRunTest;
using test::TemporaryFilesIn;
using test::WriteImageFile;

constexpr int kSources = 12;

// Whether process `pid` holds a file of `folder` open for writing: an output being written.
bool WritesInto(pid_t pid, const std::string& folder) {
    std::error_code error;
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    for (fs::directory_iterator it(fds, error), end; !error && it != end; it.increment(error)) {
        const std::string target = fs::read_symlink(it->path(), error).string();
        if (!error && target.starts_with(folder + "/")) {
            return true;
        }
    }
    return false;
}

// Whether the child `pid` has exited: it stays a zombie, to which kill(pid, 0) still answers,
// until it is waited for.
bool HasExited(pid_t pid) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// A pid that no process has any more: a child that has exited and been waited for.
pid_t EndedPid() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

using KilledRun = PelimonRunTest;

TEST_F(KilledRun, LeavesOnlyCompleteImages) {
    const std::string out = scratch / "out/";
    fs::create_directories(out);
    const std::string folder = fs::canonical(out).string();
    for (int i = 0; i < kSources; ++i) {
        WriteImageFile(src + NumberedName("p", i, ".bmp"), MakeTestImage(2400, 1800, i));
    }
    test::WriteBytes(ini, test::SettingsText(out));
    bool caught = false;
    {
        PelimonProcess process({"/Q", src}, ini, scratch / "stderr.txt");
        // Polls until an output is open for writing, then kills the run at once.
        while (!caught && !HasExited(process.pid())) {
            caught = WritesInto(process.pid(), folder);
        }
        kill(process.pid(), SIGKILL);
        process.Wait();
    }
    if (!caught) {
        GTEST_SKIP() << "the run ended before an output was seen open";
    }
    EXPECT_TRUE(TemporaryFilesIn(out).empty()) << ::testing::PrintToString(TemporaryFilesIn(out));
    EXPECT_TRUE(IncompleteImagesIn(out).empty()) << ::testing::PrintToString(IncompleteImagesIn(out));
}

TEST_F(KilledRun, NextRunRemovesOnlyTheTemporariesOfEndedRuns) {
    const std::string out = scratch / "out/";
    fs::create_directories(out);
    WriteImageFile(src + "p.jpg", MakeTestImage(64, 48, 1));
    const std::string ended = out + ".p_s.jpg.pelimon-" + std::to_string(EndedPid()) + "-AbC123";
    const std::string alive = out + ".q_s.jpg.pelimon-" + std::to_string(getpid()) + "-XyZ789";
    const std::string foreign = out + ".r.jpg.pelimon-Qw12Er";  // no owner in its name
    for (const std::string& path : {ended, alive, foreign}) {
        test::WriteBytes(path, "partial");
    }
    test::WriteBytes(ini, test::SettingsText(out));
    const test::ProcessResult run = Pelimon({"/Q", src});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(fs::exists(ended));
    EXPECT_TRUE(fs::exists(alive));
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_TRUE(fs::exists(out + "p_s.jpg"));
}

}  // namespace
}  // namespace pelimon
