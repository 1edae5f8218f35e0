#include "batch/jpeg_size_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
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

JpegSizeGoal SizeGoal(int data_size, int limit = 20) {
    JpegSizeGoal goal;
    goal.set_size = 1;
    goal.data_size = data_size;
    goal.limit_quality = limit;
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
        {"DataSize counts 1024 bytes", SizeGoal(50), linear, 51, 8},
        {"limit of 100 that fits", SizeGoal(200, 100), linear, 100, 1},
        {"one size below 100: the quality below 100", SizeGoal(50),
         [](int q) { return static_cast<size_t>(q == 100 ? 60000 : 40000); }, 99, 8},
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
    // Quality 60 is 50 bytes over the target, close enough for a secant search to stop there, too
    // large for the file; 59 fits.
    FakeTrial trial{[](int q) { return static_cast<size_t>(1000 * q - 8800 + (q == 60 ? 50 : 0)); }, {}};
    JpegSizeGoal goal = SizeGoal(50);  // 51200 bytes
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

// Model encoders, one per shape of the size-quality curve that encoders show; for every target
// between the ends the search must find the highest quality that fits, in a few trials.
TEST(JpegSizeSearch, ModelEncodersEndAtTheHighestQualityThatFits) {
    struct Model {
        const char* name;
        std::function<size_t(int)> size_of;
    };
    const Model models[] = {
        {"linear", [](int q) { return static_cast<size_t>(1000 * q); }},
        {"steep near 100 (JPEG)",
         [](int q) { return static_cast<size_t>(8000 + 300 * q + 4e6 / ((101 - q) * (101 - q))); }},
        {"flat, then a jump at 100 (WebP)",
         [](int q) { return static_cast<size_t>(q == 100 ? 400000 : 10000 + 150 * q); }},
        {"several qualities of one size", [](int q) { return static_cast<size_t>(20000 + 3000 * (q / 7)); }},
    };
    for (const Model& model : models) {
        for (int kb = static_cast<int>(model.size_of(20) / 1024) + 1; kb < static_cast<int>(model.size_of(100) / 1024);
             ++kb) {
            SCOPED_TRACE(::testing::Message() << model.name << ", " << kb << " KB");
            int highest = 20;
            for (int q = 20; q <= 100; ++q) {
                highest = model.size_of(q) <= static_cast<size_t>(kb) * 1024 ? q : highest;
            }
            FakeTrial trial{model.size_of, {}};
            const Result<int> quality = SearchJpegQuality(SizeGoal(kb), trial.AsTrial());
            ASSERT_TRUE(quality.ok());
            EXPECT_EQ(quality.value(), highest);
            EXPECT_LE(trial.asked.size(), 14u);
        }
    }
}

// Real encoders' sizes are not strictly monotonic in quality, so "highest that fits" means the
// bracket's outcome: the chosen quality fits and the one above it does not.
TEST(JpegSizeSearch, RealEncodersDoNotLeaveTheBudgetUnused) {
    const Image image = test::MakeTestImage(200, 150, 3);
    struct Format {
        const char* name;
        QualityEncoder encode;
    };
    const Format formats[] = {
        {"JPEG", [&](int q) { return EncodeJpeg(image, {.quality = q}); }},
        {"WebP", [&](int q) { return EncodeWebp(image, {.quality = q}); }},
        {"AVIF", [&](int q) { return EncodeAvif(image, {.quality = q}); }},
    };
    for (const Format& format : formats) {
        std::map<int, size_t> sizes;  // each quality encoded once for all targets
        const auto size_at = [&](int q) {
            if (!sizes.contains(q)) {
                sizes[q] = format.encode(q).value().size();
            }
            return sizes[q];
        };
        const JpegTrial trial = [&](int q) -> Result<size_t> { return size_at(q); };
        for (size_t kb = size_at(20) / 1024 + 1; kb <= size_at(100) / 1024; ++kb) {
            SCOPED_TRACE(::testing::Message() << format.name << ", " << kb << " KB");
            const Result<int> q = SearchJpegQuality(SizeGoal(static_cast<int>(kb)), trial);
            ASSERT_TRUE(q.ok());
            EXPECT_LE(size_at(q.value()), kb * 1024);
            if (q.value() < 100) {
                EXPECT_GT(size_at(q.value() + 1), kb * 1024);
            }
        }
    }
}

// The metadata is part of every trial: what fits is the file as written.
TEST(JpegSizeSearch, ChosenBytesAreTheTrialsAndFitWithMetadata) {
    const Image image = test::MakeTestImage(320, 240, 3);
    const std::vector<uint8_t> xmp(2000, 'x');
    for (const bool with_metadata : {false, true}) {
        const EncodeMetadata metadata = with_metadata ? EncodeMetadata{.xmp = xmp} : EncodeMetadata{};
        const QualityEncoder encode = [&](int q) { return EncodeJpeg(image, {.quality = q, .metadata = metadata}); };
        std::vector<size_t> size_at(101, 0);
        for (int q = 20; q <= 100; ++q) {
            size_at[static_cast<size_t>(q)] = encode(q).value().size();
        }
        for (size_t kb = size_at[20] / 1024 + 1; kb <= size_at[100] / 1024; kb += 3) {
            SCOPED_TRACE(::testing::Message() << kb << " KB, metadata " << with_metadata);
            const Result<JpegChoice> choice = ChooseQuality(SizeGoal(static_cast<int>(kb), 20), encode);
            ASSERT_TRUE(choice.ok());
            const size_t q = static_cast<size_t>(choice.value().quality);
            EXPECT_LE(choice.value().encoded.size(), kb * 1024);
            EXPECT_EQ(choice.value().encoded.size(), size_at[q]);
        }
    }
}

TEST(JpegSizeSearch, RealEncodesAtTheEnds) {
    const Image image = test::MakeTestImage(200, 150, 1);
    const QualityEncoder encode = [&](int q) { return EncodeJpeg(image, {.quality = q}); };
    const Result<JpegChoice> tiny = ChooseQuality(SizeGoal(1, 25), encode);
    ASSERT_TRUE(tiny.ok());
    EXPECT_EQ(tiny.value().quality, 25);
    EXPECT_EQ(tiny.value().encoded, EncodeJpeg(image, {.quality = 25}).value());

    const Result<JpegChoice> huge = ChooseQuality(SizeGoal(100000), encode);
    ASSERT_TRUE(huge.ok());
    EXPECT_EQ(huge.value().quality, 100);
    EXPECT_EQ(huge.value().encoded, EncodeJpeg(image, {.quality = 100}).value());

    JpegSizeGoal fixed;
    fixed.jpeg_comp = 90;
    const Result<JpegChoice> chosen = ChooseQuality(fixed, encode);
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(chosen.value().quality, 90);
    EXPECT_EQ(chosen.value().encoded, EncodeJpeg(image, {.quality = 90}).value());
}

}  // namespace
}  // namespace pelimon
