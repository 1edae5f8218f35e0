#include "batch/jpeg_size_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "batch_test_support.h"

namespace pelimon {
namespace {

// A trial that reports sizes from a formula and records the qualities asked for.
struct FakeTrial {
    std::function<size_t(int)> size_of;
    std::vector<int> asked;

    JpegTrial AsTrial() {
        return [this](int quality) -> Result<size_t> {
            asked.push_back(quality);
            return size_of(quality);
        };
    }
};

JpegSizeGoal SizeGoal(int data_size, int limit = 20, size_t added = 0) {
    JpegSizeGoal goal;
    goal.set_size = 1;
    goal.data_size = data_size;
    goal.limit_quality = limit;
    goal.added_bytes = added;
    return goal;
}

TEST(JpegSizeSearch, SecantQuality) {
    EXPECT_DOUBLE_EQ(SecantQuality(20, 10000, 100, 50000, 30000), 60.0);
    EXPECT_DOUBLE_EQ(SecantQuality(100, 50000, 60, 30000, 40000), 80.0);
}

TEST(JpegSizeSearch, DecisionTable) {
    const auto linear = [](int q) { return static_cast<size_t>(1000 * q); };
    struct Case {
        const char* name;
        JpegSizeGoal goal;
        std::function<size_t(int)> size_of;
        int expected;
        size_t max_trials;
    };
    JpegSizeGoal fixed;
    fixed.set_size = 0;
    fixed.jpeg_comp = 77;
    const std::vector<Case> cases = {
        {"fixed quality: no trial", fixed, linear, 77, 0},
        {"limit too large: limit after one trial", SizeGoal(10), linear, 20, 1},
        {"everything fits: 100 after two trials", SizeGoal(200), linear, 100, 2},
        {"DataSize counts 1024 bytes", SizeGoal(50), linear, 51, 34},
        {"added metadata counts", SizeGoal(50, 20, 1200), linear, 50, 34},
        {"metadata beyond the budget: limit", SizeGoal(1, 20, 5000), linear, 20, 1},
        {"limit of 100 that fits", SizeGoal(200, 100), linear, 100, 1},
        {"equal sizes end the search", SizeGoal(50, 20, 1200),
         [](int q) { return static_cast<size_t>(q == 100 ? 60000 : 40000); }, 81, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeTrial trial{c.size_of, {}};
        const Result<int> quality = SearchJpegQuality(c.goal, trial.AsTrial());
        ASSERT_TRUE(quality.ok());
        EXPECT_EQ(quality.value(), c.expected);
        EXPECT_LE(trial.asked.size(), c.max_trials);
    }
}

TEST(JpegSizeSearch, SecantEndingJustAboveTheTargetNeverExceedsIt) {
    // The first secant step lands on quality 60, 50 bytes over the target: close enough for the
    // secant to stop, too large for the file.
    FakeTrial trial{[](int q) { return static_cast<size_t>(1000 * q - 10000 + (q == 60 ? 50 : 0)); }, {}};
    JpegSizeGoal goal = SizeGoal(50, 20, 1200);  // 51200 - 1200 = 50000 bytes
    const Result<int> quality = SearchJpegQuality(goal, trial.AsTrial());
    ASSERT_TRUE(quality.ok());
    EXPECT_EQ(quality.value(), 59);
}

TEST(JpegSizeSearch, NoQualityIsTriedTwice) {
    FakeTrial trial{[](int q) { return static_cast<size_t>(q * q * 10); }, {}};
    ASSERT_TRUE(SearchJpegQuality(SizeGoal(50), trial.AsTrial()).ok());
    std::vector<int> asked = trial.asked;
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(std::adjacent_find(asked.begin(), asked.end()), asked.end());
}

TEST(JpegSizeSearch, TrialFailureIsReported) {
    const JpegTrial failing = [](int) -> Result<size_t> { return Error{"encoder broke", ""}; };
    EXPECT_FALSE(SearchJpegQuality(SizeGoal(50), failing).ok());
}

TEST(JpegSizeSearch, RealEncodesNeverExceedTheTarget) {
    const Image image = test::MakeTestImage(320, 240, 3);
    std::vector<size_t> size_at(101, 0);
    for (int q = 20; q <= 100; ++q) {
        size_at[static_cast<size_t>(q)] = EncodeJpeg(image, q).value().size();
    }
    for (size_t added : {size_t{0}, size_t{2000}}) {
        for (size_t kb = (size_at[20] + added) / 1024 + 1; kb <= (size_at[100] + added) / 1024; kb += 3) {
            SCOPED_TRACE(::testing::Message() << kb << " KB, " << added << " bytes of metadata");
            const Result<JpegChoice> choice = ChooseJpegQuality(image, SizeGoal(static_cast<int>(kb), 20, added));
            ASSERT_TRUE(choice.ok());
            const int q = choice.value().quality;
            const size_t target = kb * 1024 - added;
            EXPECT_LE(choice.value().encoded.size(), target);
            EXPECT_EQ(choice.value().encoded.size(), size_at[static_cast<size_t>(q)]);
            // Close to the best that fits: JPEG sizes are not strictly monotonic in quality, so
            // the search may stop a step or two below it.
            int best = 20;
            for (int candidate = 20; candidate <= 100; ++candidate) {
                best = size_at[static_cast<size_t>(candidate)] <= target ? candidate : best;
            }
            EXPECT_GE(q, best - 3);
        }
    }
}

TEST(JpegSizeSearch, RealEncodesAtTheEnds) {
    const Image image = test::MakeTestImage(200, 150, 1);
    const Result<JpegChoice> tiny = ChooseJpegQuality(image, SizeGoal(1, 25));
    ASSERT_TRUE(tiny.ok());
    EXPECT_EQ(tiny.value().quality, 25);
    EXPECT_EQ(tiny.value().encoded, EncodeJpeg(image, 25).value());

    const Result<JpegChoice> huge = ChooseJpegQuality(image, SizeGoal(100000));
    ASSERT_TRUE(huge.ok());
    EXPECT_EQ(huge.value().quality, 100);
    EXPECT_EQ(huge.value().encoded, EncodeJpeg(image, 100).value());

    JpegSizeGoal fixed;
    fixed.jpeg_comp = 90;
    const Result<JpegChoice> chosen = ChooseJpegQuality(image, fixed);
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(chosen.value().quality, 90);
    EXPECT_EQ(chosen.value().encoded, EncodeJpeg(image, 90).value());
}

}  // namespace
}  // namespace pelimon
