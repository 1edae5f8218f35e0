// The settings an option line asks for, without a run: each option changes its settings, and the
// options apply in the option table's order whatever the order given (a quality turns the size
// search off, a target size on, so "--target-size" wins over "-q" either way), a repeated option's
// last value winning and effects adding up.
#include "app/posix_options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imagelib/format_table.h"
#include "tests/settings/all_fields.h"

namespace pelimon {
namespace {

TEST(ApplyPosixOptions, EachOptionChangesItsSettingsInTheTablesOrder) {
    AppSettings start;
    start.SetSize = kOn;
    start.Exif = kOn;
    start.Effect = kEffectGrayscale;
    const int32_t png = FormatOfCommandName("png")->codes.file_type;
    const struct {
        std::vector<std::string> args;
        std::vector<std::pair<NumberField, int32_t>> changed;
    } cases[] = {
        {{"-q", "80"}, {{&AppSettings::JpegComp, 80}, {&AppSettings::SetSize, kOff}}},
        {{"--target-size", "30", "-q", "80"}, {{&AppSettings::JpegComp, 80}, {&AppSettings::DataSize, 30}}},
        {{"-q", "80", "--target-size", "30"}, {{&AppSettings::JpegComp, 80}, {&AppSettings::DataSize, 30}}},
        {{"--contrast", "5", "--contrast=-7"}, {{&AppSettings::Contrast, -7}}},
        {{"--sepia", "--sharpen", "--sepia"},
         {{&AppSettings::Effect, kEffectGrayscale | kEffectSepia | kEffectSharpen}}},
        {{"--strip"}, {{&AppSettings::Exif, kOff}}},
        {{"--keep-exif", "--no-location"}, {{&AppSettings::NoLocation, kOn}}},
        {{"--exif-date", "--sampling"}, {{&AppSettings::ExifDate, kOn}, {&AppSettings::Reduction, kReductionSampling}}},
        {{"--keep-profile", "--no-auto-rotate"}, {{&AppSettings::ToSRGB, kOff}, {&AppSettings::AutoRotate, kOff}}},
        {{"--min-quality", "30", "-f", "png"}, {{&AppSettings::LimitQuality, 30}, {&AppSettings::FileType, png}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> args = c.args;
        args.push_back("a.jpg");
        const Result<PosixOptions> options = ParsePosixOptions(args);
        ASSERT_TRUE(options) << options.error().message;
        AppSettings applied = start;
        ApplyPosixOptions(options.value(), "/work", applied);
        AppSettings expected = start;
        expected.BigSize = kBigSizeStripExif;  // sources are not enlarged without --enlarge
        expected.ImageNum = 0;
        for (const auto& [field, value] : c.changed) {
            expected.*field = value;
        }
        EXPECT_EQ(test::AllFields(applied), test::AllFields(expected));
    }
}

}  // namespace
}  // namespace pelimon
