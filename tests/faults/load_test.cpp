// A batch of many small images: every output is written and complete, and the peak memory of the
// process grows only by the jobs' own records, not with the images.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "imagelib/imagelib.h"
#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::NumberedName;
using test::PelimonRunTest;
using test::ProcessResult;
using test::TemporaryFilesIn;

// Sanitizers keep freed memory in quarantine and slow every job down: they get smaller batches
// and no memory comparison.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// The batch sizes compared.
constexpr int kSmallBatch = kSanitized ? 20 : 200;
constexpr int kLargeBatch = kSanitized ? 200 : 2000;
// How much more the larger batch may take at its peak: per-job records and names, not pixels
// (about 0.6 KB a job).
constexpr long kAllowedGrowthKb = 4 * 1024;
constexpr int kDistinctImages = 16;

class Load : public PelimonRunTest {
  protected:
    // Reduces `count` generated 64 x 48 JPEGs and checks that every output is there and complete.
    ProcessResult ReduceBatch(int count) {
        const std::string folder = work + NumberedName("src-", count, "/");
        const std::string out = work + NumberedName("out-", count, "/");
        std::filesystem::create_directories(folder);
        // A few distinct images, encoded once, stand for the whole batch.
        std::vector<std::string> encoded;
        for (int seed = 0; seed < kDistinctImages; ++seed) {
            const Result<Bytes> bytes = EncodeJpeg(MakeTestImage(64, 48, seed), {.quality = 90});
            if (!bytes.ok()) {
                ADD_FAILURE() << bytes.error().message;
                return {};
            }
            encoded.emplace_back(bytes.value().begin(), bytes.value().end());
        }
        for (int i = 0; i < count; ++i) {
            test::WriteBytes(folder + NumberedName("img", i, ".jpg"),
                             encoded[static_cast<size_t>(i % kDistinctImages)]);
        }
        test::WriteBytes(ini, test::SettingsText(out));
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

    // The batch's folders. As root they live on a tmpfs of their own, so that thousands of
    // synced writes and deletions neither wait for a busy disk nor slow down everything else on it.
    std::string work = scratch / "load/";
};

TEST_F(Load, EveryOutputIsCompleteAndPeakMemoryDoesNotGrowWithTheBatch) {
    std::filesystem::create_directories(work);
    std::string why;
    const std::optional<test::ScopedMount> mounted =
        test::RunningAsRoot() ? test::ScopedMount::Tmpfs(work, "size=256m", why) : std::nullopt;
    const ProcessResult small_run = ReduceBatch(kSmallBatch);
    const ProcessResult large_run = ReduceBatch(kLargeBatch);
    RecordProperty("small_images", kSmallBatch);
    RecordProperty("small_peak_kb", static_cast<int>(small_run.max_rss_kb));
    RecordProperty("large_images", kLargeBatch);
    RecordProperty("large_peak_kb", static_cast<int>(large_run.max_rss_kb));
    RecordProperty("large_ms", static_cast<int>(large_run.seconds * 1000));
    std::printf("load: %d images %.2f s peak %ld KB; %d images %.2f s peak %ld KB\n", kSmallBatch, small_run.seconds,
                small_run.max_rss_kb, kLargeBatch, large_run.seconds, large_run.max_rss_kb);
    if (kSanitized) {
        GTEST_SKIP() << "peak memory is not compared under a sanitizer (it keeps freed memory)";
    }
    EXPECT_LE(large_run.max_rss_kb, small_run.max_rss_kb + kAllowedGrowthKb);
}

}  // namespace
}  // namespace pelimon
