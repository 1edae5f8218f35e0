// What a batch shows on a terminal: the progress line.
#include "app/terminal_interaction.h"

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "batch/run_batch.h"
#include "tests/app/app_test_support.h"
#include "tests/batch/batch_test_support.h"

namespace pelimon {
namespace {

// A temporary stream that the interaction writes into and the test reads back.
class CapturedStream {
  public:
    CapturedStream() : file_(std::tmpfile()) {}
    ~CapturedStream() { std::fclose(file_); }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::FILE* file() { return file_; }
    std::string Text() {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) {
            text += static_cast<char>(c);
        }
        return text;
    }

  private:
    std::FILE* file_;
};

// Seven files count to 7/7 ("Reducing 8/14" counted each file once to prepare it and once more
// to reduce it).
TEST(TerminalInteraction, ProgressCountsEveryFileOnce) {
    test::TempFolder folder;
    AppSettings settings = test::BatchSettings(folder.path());
    FileList list;
    constexpr int kFiles = 7;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        test::WriteJpeg(folder.Path(name), 32, 24);
        list.rows().push_back({name, "1 KB", 0, true});
    }
    list.set_file_count(kFiles);
    list.set_selected_count(kFiles);
    CapturedStream err;
    TerminalInteraction ui(err.file(), true);
    const BatchOutcome outcome = RunBatch(settings, list, ui, {.quiet_run = true, .workers = 2}, "20070502");
    ASSERT_EQ(outcome.written, kFiles);

    const std::string text = err.Text();
    const std::regex count("\r\\S+ (\\d+)/(\\d+)");
    std::vector<int> done;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), count); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ(std::stoi((*it)[2]), kFiles) << text;
        done.push_back(std::stoi((*it)[1]));
    }
    ASSERT_FALSE(done.empty()) << text;
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end())) << text;
    EXPECT_EQ(done.front(), 0);
    EXPECT_EQ(done.back(), kFiles);
}

}  // namespace
}  // namespace pelimon
