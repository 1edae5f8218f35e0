// A batch of many small images: every output is written and complete, and the peak memory of the
// process does not grow with the number of images.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using testing::IncompleteImagesIn;
using testing::ListFolder;
using testing::MakeTestImage;
using testing::NumberedName;
using testing::PelimonRunTest;
using testing::ProcessResult;
using testing::TemporaryFilesIn;
using testing::WriteImageFile;

// The batch sizes compared; PELIMON_LOAD_IMAGES raises the larger one (bench/load/ runs 2,000).
constexpr int kSmallBatch = 20;
constexpr int kDefaultLargeBatch = 200;
// How much more the larger batch may take at its peak: per-job records and names, not pixels.
constexpr long kAllowedGrowthKb = 4 * 1024;

int LargeBatch() {
    const char* text = std::getenv("PELIMON_LOAD_IMAGES");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > kSmallBatch ? count : kDefaultLargeBatch;
}

class Load : public PelimonRunTest {
  protected:
    // Reduces `count` generated 64 x 48 JPEGs and checks that every output is there and complete.
    ProcessResult ReduceBatch(int count) {
        const std::string folder = scratch / NumberedName("src-", count, "/");
        const std::string out = scratch / NumberedName("out-", count, "/");
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            WriteImageFile(folder + NumberedName("img", i, ".jpg"), MakeTestImage(64, 48, i));
        }
        testing::WriteBytes(ini, testing::SettingsText(out));
        const ProcessResult run = Pelimon({"/Q", folder});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(static_cast<int>(ListFolder(out).size()), count);
        EXPECT_TRUE(TemporaryFilesIn(out).empty());
        const std::vector<std::string> incomplete = IncompleteImagesIn(out);
        EXPECT_TRUE(incomplete.empty()) << incomplete.size() << " incomplete, first: " << incomplete.front();
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(out);
        return run;
    }
};

TEST_F(Load, PeakMemoryDoesNotGrowWithTheBatch) {
    const int large = LargeBatch();
    const ProcessResult small_run = ReduceBatch(kSmallBatch);
    const ProcessResult large_run = ReduceBatch(large);
    RecordProperty("small_images", kSmallBatch);
    RecordProperty("small_peak_kb", static_cast<int>(small_run.max_rss_kb));
    RecordProperty("large_images", large);
    RecordProperty("large_peak_kb", static_cast<int>(large_run.max_rss_kb));
    RecordProperty("large_ms", static_cast<int>(large_run.seconds * 1000));
    std::printf("load: %d images %.2f s peak %ld KB; %d images %.2f s peak %ld KB\n", kSmallBatch, small_run.seconds,
                small_run.max_rss_kb, large, large_run.seconds, large_run.max_rss_kb);
    EXPECT_LE(large_run.max_rss_kb, small_run.max_rss_kb + kAllowedGrowthKb);
}

}  // namespace
}  // namespace pelimon
