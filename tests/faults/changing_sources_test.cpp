// Source folders that change under a running batch, and a cancel in the middle of one. In process,
// so that the change lands exactly between two phases of the run.
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "filelist/source_list.h"
#include "tests/faults/fault_test_support.h"
#include "tests/support/fake_interaction.h"

namespace pelimon {
namespace {

using test::NumberedName;
namespace fs = std::filesystem;
using test::FakeInteraction;
using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::TempFolder;
using test::TemporaryFilesIn;
using test::WriteBytes;
using test::WriteImageFile;

constexpr const char* kToday = "20070502";

// Runs `action` once, at the first progress report of a finished file (the preparation reports
// none finished), that is when the first job is finished.
class ActAfterPreparation : public FakeInteraction {
  public:
    explicit ActAfterPreparation(std::function<void()> action) : action_(std::move(action)) {}
    void ReportProgress(int done, int total) override {
        FakeInteraction::ReportProgress(done, total);
        if (done > 0 && action_) {
            std::exchange(action_, nullptr)();
        }
    }

  private:
    std::function<void()> action_;
};

class ChangingSources : public ::testing::Test {
  protected:
    ChangingSources() {
        settings.Width = 64;
        settings.Height = 48;
    }

    // Writes `count` JPEGs p0.jpg, p1.jpg, ... and lists the folder as the window would.
    void WriteAndList(int count, int width = 160, int height = 120) {
        for (int i = 0; i < count; ++i) {
            WriteImageFile(Source(i), MakeTestImage(width, height, i));
        }
        sources.SetFolderText(folder.path(), settings);
        ASSERT_EQ(static_cast<int>(sources.list().rows().size()), count);
    }
    std::string Source(int i) const { return folder / NumberedName("p", i, ".jpg"); }
    std::string Out() const { return folder.path() + "out/"; }
    static std::string OutName(int i) { return NumberedName("p", i, "_s.jpg"); }

    BatchOutcome Run(Interaction& ui, int workers) {
        return RunBatch(settings, sources.list(), ui, {true, workers}, kToday);
    }

    void ExpectCleanOutputFolder() const {
        EXPECT_TRUE(TemporaryFilesIn(Out()).empty()) << ::testing::PrintToString(TemporaryFilesIn(Out()));
        EXPECT_TRUE(IncompleteImagesIn(Out()).empty()) << ::testing::PrintToString(IncompleteImagesIn(Out()));
    }

    TempFolder folder;
    AppSettings settings = test::BatchSettings(folder.path());
    SourceList sources;
};

TEST_F(ChangingSources, DeletedAfterListingTakesNoJobAndReplacedOneIsReported) {
    WriteAndList(4);
    fs::remove(Source(1));
    WriteBytes(Source(2), "a text file now");
    FakeInteraction ui;

    const BatchOutcome outcome = Run(ui, 2);

    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    EXPECT_EQ(outcome.written, 2);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, Source(2));
    EXPECT_NE(outcome.failures[0].message.find("p2.jpg"), std::string::npos) << outcome.failures[0].message;
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{OutName(0), OutName(3)}));
    ExpectCleanOutputFolder();
}

// A pipe never ends unless something writes to it: opening one to read its header would stop the
// batch for good.
TEST_F(ChangingSources, SourceReplacedByAPipeAfterListingIsReportedWithoutWaiting) {
    WriteAndList(3);
    fs::remove(Source(1));
    ASSERT_EQ(mkfifo(Source(1).c_str(), 0600), 0);
    FakeInteraction ui;

    const BatchOutcome outcome = Run(ui, 2);

    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, Source(1));
    EXPECT_EQ(ListFolder(Out()), (std::vector<std::string>{OutName(0), OutName(2)}));
    ExpectCleanOutputFolder();
}

// The change lands after the preparation has examined every file: the job exists, so the file is
// reported by name, and the jobs after it are still written.
TEST_F(ChangingSources, ChangedBetweenPreparationAndRenderIsReportedByName) {
    const struct {
        const char* label;
        std::function<void(const std::string&)> change;
        bool fails;
    } cases[] = {
        {"deleted", [](const std::string& path) { fs::remove(path); }, true},
        {"replaced by text", [](const std::string& path) { WriteBytes(path, "no longer an image"); }, true},
        {"truncated", [](const std::string& path) { fs::resize_file(path, fs::file_size(path) / 2); }, true},
        {"replaced by a folder",
         [](const std::string& path) {
             fs::remove(path);
             fs::create_directory(path);
         },
         true},
        {"replaced by a pipe",
         [](const std::string& path) {
             fs::remove(path);
             mkfifo(path.c_str(), 0600);
         },
         true},
        {"replaced by a larger image",
         [](const std::string& path) { WriteImageFile(path, MakeTestImage(640, 480, 7)); }, false},
    };
    constexpr int kCount = 4;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteAndList(kCount);
        // One worker: when the first job reports, the third has not been taken yet.
        ActAfterPreparation ui([&] { c.change(Source(2)); });

        const BatchOutcome outcome = Run(ui, 1);

        EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCompleted);
        std::vector<std::string> expected{OutName(0), OutName(1), OutName(2), OutName(3)};
        if (c.fails) {
            expected.erase(expected.begin() + 2);
            ASSERT_EQ(outcome.failures.size(), 1u);
            EXPECT_EQ(outcome.failures[0].path, Source(2));
            EXPECT_NE(outcome.failures[0].message.find("p2.jpg"), std::string::npos) << outcome.failures[0].message;
        } else {
            EXPECT_TRUE(outcome.failures.empty());
        }
        EXPECT_EQ(ListFolder(Out()), expected);
        ExpectCleanOutputFolder();
        fs::remove_all(Out());
        fs::remove_all(Source(2));
    }
}

TEST_F(ChangingSources, CancelInTheMiddleLeavesOnlyCompleteFiles) {
    constexpr int kCount = 12;
    WriteAndList(kCount, 640, 480);
    ActAfterPreparation ui([&ui] { ui.cancel = true; });

    const BatchOutcome outcome = Run(ui, 2);

    EXPECT_EQ(outcome.kind, BatchOutcome::Kind::kCancelled);
    EXPECT_GE(outcome.written, 1);
    EXPECT_LT(outcome.written, kCount);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(static_cast<int>(ListFolder(Out()).size()), outcome.written);
    ExpectCleanOutputFolder();
}

}  // namespace
}  // namespace pelimon
