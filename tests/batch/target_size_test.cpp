#include "batch/target_size.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace pelimon {
namespace {

struct SizeCase {
    const char* name;
    int base, aspect, method, rect;
    int width, height, width_ratio, height_ratio;
    int pix_even;
    int src_width, src_height;
    std::optional<TargetSize> expected;
};

AppSettings SettingsFor(const SizeCase& c) {
    AppSettings s;
    s.Base = c.base;
    s.Aspect = c.aspect;
    s.Method = c.method;
    s.Rect = c.rect;
    s.Width = c.width;
    s.Height = c.height;
    s.WidthRatio = c.width_ratio;
    s.HeightRatio = c.height_ratio;
    s.PixEven = c.pix_even;
    return s;
}

TEST(TargetSize, DecisionTable) {
    const std::vector<SizeCase> cases = {
        {"preset 640 landscape", 1, 1, 1, 1, 640, 480, 70, 70, 0, 4000, 3000, TargetSize{640, 480}},
        {"preset 640 portrait: height limits", 1, 1, 1, 1, 640, 480, 70, 70, 0, 3000, 4000, TargetSize{360, 480}},
        {"preset 640 portrait, PixEven", 1, 1, 1, 1, 640, 480, 70, 70, 1, 3000, 4000, TargetSize{360, 480}},
        {"preset 480", 2, 0, 2, 3, 480, 360, 70, 70, 0, 4000, 3000, TargetSize{480, 360}},
        {"preset ignores aspect and method", 1, 0, 2, 9, 640, 480, 10, 10, 0, 4000, 3000, TargetSize{640, 480}},
        {"width limits", 1, 1, 1, 1, 640, 480, 70, 70, 0, 640, 300, TargetSize{640, 300}},
        {"fit odd width", 1, 1, 1, 1, 640, 480, 70, 70, 0, 997, 1000, TargetSize{479, 480}},
        {"fit odd width, PixEven", 1, 1, 1, 1, 640, 480, 70, 70, 1, 997, 1000, TargetSize{480, 480}},
        {"free pixels", 4, 0, 1, 4, 641, 333, 70, 70, 1, 4000, 3000, TargetSize{641, 333}},
        {"free percent, no even rule", 4, 0, 2, 4, 640, 480, 50, 25, 1, 101, 51, TargetSize{51, 13}},
        {"free, method 3: untouched", 4, 0, 3, 4, 640, 480, 50, 50, 0, 101, 51, std::nullopt},
        {"by width", 4, 1, 1, 1, 101, 480, 70, 70, 0, 1000, 999, TargetSize{101, 101}},
        {"by width, PixEven keeps the given width", 4, 1, 1, 1, 101, 480, 70, 70, 1, 1000, 999, TargetSize{101, 102}},
        {"by height, PixEven keeps the given height", 4, 1, 1, 2, 640, 101, 70, 70, 1, 999, 1000, TargetSize{102, 101}},
        {"fit rectangle rule", 4, 1, 1, 4, 640, 480, 70, 70, 0, 3000, 4000, TargetSize{360, 480}},
        {"pixels, rect 3: untouched", 4, 1, 1, 3, 640, 480, 70, 70, 0, 3000, 4000, std::nullopt},
        {"percent by width", 4, 1, 2, 1, 640, 480, 33, 70, 0, 200, 100, TargetSize{66, 33}},
        {"percent by width, PixEven", 4, 1, 2, 1, 640, 480, 33, 70, 1, 200, 100, TargetSize{66, 34}},
        {"percent by height", 4, 1, 2, 2, 640, 480, 70, 33, 0, 100, 200, TargetSize{33, 66}},
        {"percent by height, PixEven", 4, 1, 2, 2, 640, 480, 70, 33, 1, 100, 200, TargetSize{34, 66}},
        {"percent fit 101x51", 4, 1, 2, 4, 640, 480, 50, 70, 0, 101, 51, TargetSize{51, 26}},
        {"percent fit 101x51, PixEven", 4, 1, 2, 4, 640, 480, 50, 70, 1, 101, 51, TargetSize{52, 26}},
        {"percent fit takes the smaller ratio", 4, 1, 2, 4, 640, 480, 70, 50, 0, 100, 100, TargetSize{50, 50}},
        {"percent, other rect keeps the source", 4, 1, 3, 3, 640, 480, 50, 50, 0, 101, 51, TargetSize{101, 51}},
        {"percent, other rect, PixEven", 4, 1, 3, 3, 640, 480, 50, 50, 1, 101, 51, TargetSize{102, 52}},
        {"base 3: untouched", 3, 1, 1, 1, 640, 480, 70, 70, 0, 4000, 3000, std::nullopt},
        {"aspect 2: untouched", 4, 2, 1, 1, 640, 480, 70, 70, 0, 4000, 3000, std::nullopt},
        {"zero source width", 1, 1, 1, 1, 640, 480, 70, 70, 0, 0, 3000, std::nullopt},
        {"zero source height", 4, 1, 2, 1, 640, 480, 70, 70, 0, 4000, 0, std::nullopt},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto target = ComputeTargetSize(SettingsFor(c), c.src_width, c.src_height);
        ASSERT_EQ(target.has_value(), c.expected.has_value());
        if (target) {
            EXPECT_EQ(target->width, c.expected->width);
            EXPECT_EQ(target->height, c.expected->height);
        }
    }
}

TEST(TargetSize, ComputedSidesOfZeroBecomeOne) {
    // A line of pixels once gave "Cannot make an image of output size 320 x 0".
    const std::vector<SizeCase> cases = {
        {"fit, wide line", 1, 1, 1, 1, 640, 480, 70, 70, 0, 2000, 1, TargetSize{640, 1}},
        {"fit, tall line", 1, 1, 1, 1, 640, 480, 70, 70, 0, 1, 2000, TargetSize{1, 480}},
        {"fit, wide line, PixEven", 1, 1, 1, 1, 640, 480, 70, 70, 1, 2000, 1, TargetSize{640, 2}},
        {"free percent", 4, 0, 2, 4, 640, 480, 10, 10, 0, 2000, 1, TargetSize{200, 1}},
        {"width given", 4, 1, 1, 1, 320, 480, 70, 70, 0, 2000, 1, TargetSize{320, 1}},
        {"height given", 4, 1, 1, 2, 640, 100, 70, 70, 0, 1, 2000, TargetSize{1, 100}},
        {"percent by width", 4, 1, 2, 1, 640, 480, 10, 70, 0, 2000, 1, TargetSize{200, 1}},
        {"percent by height", 4, 1, 2, 2, 640, 480, 70, 10, 0, 1, 2000, TargetSize{1, 200}},
        {"percent fit", 4, 1, 2, 4, 640, 480, 10, 10, 0, 2000, 1, TargetSize{200, 1}},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeTargetSize(SettingsFor(c), c.src_width, c.src_height), c.expected);
    }
}

TEST(TargetSize, LargerThanSourceFollowsEqual) {
    struct Case {
        const char* name;
        int equal;
        int src_width, src_height;
        int larger;
    };
    const Case cases[] = {
        {"equal size, Equal 1", 1, 640, 480, 1},
        {"equal size, Equal 0", 0, 640, 480, 0},
        {"640x300 fits at its own size, Equal 1", 1, 640, 300, 1},
        {"640x300, Equal 0", 0, 640, 300, 0},
        {"smaller source", 1, 320, 240, 1},
        {"larger source", 1, 4000, 3000, 0},
        {"a line of pixels shrinks along its length", 1, 2000, 1, 0},
        {"a column of pixels shrinks along its length", 1, 1, 2000, 0},
        {"a single pixel is larger", 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        settings.Equal = c.equal;
        std::vector<ImageJob> jobs(1);
        jobs[0].SrcWidth = c.src_width;
        jobs[0].SrcHeight = c.src_height;
        ComputeTargetSizes(settings, jobs);
        EXPECT_EQ(jobs[0].LargerThanSource, c.larger);
    }
}

TEST(TargetSize, ZeroSourceSizeKeepsAZeroTargetWithoutDividing) {
    AppSettings settings;
    std::vector<ImageJob> jobs(2);
    jobs[1].SrcWidth = 4000;
    jobs[1].SrcHeight = 3000;
    ComputeTargetSizes(settings, jobs);
    EXPECT_EQ(jobs[0].TargetWidth, 0);
    EXPECT_EQ(jobs[0].TargetHeight, 0);
    EXPECT_EQ(jobs[1].TargetWidth, 640);
    EXPECT_EQ(jobs[1].TargetHeight, 480);
}

TEST(TargetSize, HugeSettingsSaturateInsteadOfOverflowing) {
    AppSettings settings;
    settings.Base = 4;
    settings.Method = 2;
    settings.Aspect = 1;
    settings.Rect = 1;
    settings.WidthRatio = 2000000000;
    const auto target = ComputeTargetSize(settings, 4000, 3000);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->width, std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace pelimon
