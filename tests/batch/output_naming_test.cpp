#include "batch/output_naming.h"

#include <gtest/gtest.h>

#include <vector>

#include "batch_test_support.h"
#include "tests/support/format_codes.h"

namespace pelimon {
namespace {

int OutputTypeOrNone(ImageFormat format) {
    return format == ImageFormat::kUnknown ? 0 : test::OutputTypeOf(format);
}

struct NameCase {
    const char* name;
    int name_rule;
    const char* add_text;
    const char* file_name;
    ImageFormat output;  // kUnknown: OutputType 0
    size_t k;
    int zero_padding;
    int digit;
    int image_num;
    const char* expected;
};

TEST(OutputNaming, Rules) {
    const NameCase cases[] = {
        {"append", 1, "_s", "photo.final.JPG", ImageFormat::kJpeg, 0, 1, 4, 0, "photo.final_s.jpg"},
        {"append nothing", 1, "", "photo.JPG", ImageFormat::kPng, 0, 1, 4, 0, "photo.png"},
        {"prepend", 4, "s_", "photo.bmp", ImageFormat::kBmp, 0, 1, 4, 0, "s_photo.bmp"},
        {"prepend nothing", 4, "", "photo.gif", ImageFormat::kGif, 0, 1, 4, 0, "photo.gif"},
        {"name without a dot stays whole", 1, "_s", "README", ImageFormat::kJpeg, 0, 1, 4, 0, "README_s.jpg"},
        {"no extension for an unknown type", 1, "_s", "scan", ImageFormat::kUnknown, 0, 1, 4, 0, "scan_s"},
        {"WebP", 1, "_s", "a.jpg", ImageFormat::kWebp, 0, 1, 4, 0, "a_s.webp"},
        {"AVIF", 1, "_s", "a.heic", ImageFormat::kAvif, 0, 1, 4, 0, "a_s.avif"},
        {"serial, first", 2, "", "a.jpg", ImageFormat::kJpeg, 0, 1, 4, 0, "resize0001.jpg"},
        {"serial, third", 2, "", "c.jpg", ImageFormat::kJpeg, 2, 1, 4, 0, "resize0003.jpg"},
        {"serial continues from ImageNum", 2, "", "a.jpg", ImageFormat::kJpeg, 0, 1, 4, 3, "resize0004.jpg"},
        {"serial without padding", 2, "", "a.jpg", ImageFormat::kJpeg, 0, 0, 4, 0, "resize1   .jpg"},
        {"serial wider than Digit", 2, "", "a.jpg", ImageFormat::kJpeg, 0, 1, 2, 122, "resize123.jpg"},
        {"serial, Digit 0", 2, "", "a.jpg", ImageFormat::kJpeg, 0, 1, 0, 0, "resize1.jpg"},
        {"any other rule numbers", 7, "_s", "a.jpg", ImageFormat::kGif, 0, 1, 4, 0, "resize0001.gif"},
        {"added text never leaves the output folder", 4, "../", "a.jpg", ImageFormat::kJpeg, 0, 1, 4, 0, ".._a.jpg"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        settings.NameRule = c.name_rule;
        settings.AddText = c.add_text;
        settings.ZeroPadding = c.zero_padding;
        settings.Digit = c.digit;
        settings.ImageNum = c.image_num;
        ImageJob job;
        job.FileName = c.file_name;
        job.OutputType = OutputTypeOrNone(c.output);
        BuildOutputName(settings, "/out/", job, c.k);
        EXPECT_EQ(job.DestName, c.expected);
        EXPECT_EQ(job.DestPath, std::string("/out/") + c.expected);
    }
}

TEST(OutputNaming, RunningNumberFieldIsCapped) {
    EXPECT_EQ(FormatRunningNumber(7, 100000, true).size(), 255u);
    EXPECT_EQ(FormatRunningNumber(7, -3, true), "7  ");
}

ImageJob JobFor(const std::string& folder, const std::string& source, const std::string& dest, ImageFormat format) {
    ImageJob job;
    job.FileName = source;
    job.SourcePath = folder + source;
    job.DestName = dest;
    job.DestPath = folder + dest;
    job.OutputType = OutputTypeOrNone(format);
    return job;
}

TEST(OutputNaming, NeverOverwritesASourceOfTheRun) {
    test::TempFolder folder;
    std::vector<ImageJob> jobs = {JobFor(folder.path(), "b.jpg", "b.jpg", ImageFormat::kJpeg),
                                  JobFor(folder.path(), "c.png", "c.jpg", ImageFormat::kJpeg)};
    const auto renamed = MakeDestinationsDistinct(jobs);
    EXPECT_EQ(jobs[0].DestName, "b (2).jpg");
    EXPECT_EQ(jobs[0].DestPath, folder.path() + "b (2).jpg");
    EXPECT_EQ(jobs[1].DestName, "c.jpg");
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].job, 0u);
    EXPECT_NE(renamed[0].note.find("b (2).jpg"), std::string::npos);
}

TEST(OutputNaming, DuplicateOutputNamesGetNumbers) {
    test::TempFolder folder;
    const std::string out = folder.path() + "out/";
    std::vector<ImageJob> jobs = {JobFor(folder.path(), "a.png", "a.jpg", ImageFormat::kJpeg),
                                  JobFor(folder.path(), "a.bmp", "a.jpg", ImageFormat::kJpeg),
                                  JobFor(folder.path(), "a.gif", "a.jpg", ImageFormat::kJpeg),
                                  JobFor(folder.path(), "x", "x", ImageFormat::kUnknown),
                                  JobFor(folder.path(), "x.jpg", "x", ImageFormat::kUnknown)};
    for (ImageJob& job : jobs) {
        job.DestPath = out + job.DestName;
    }
    const auto renamed = MakeDestinationsDistinct(jobs);
    EXPECT_EQ(jobs[0].DestName, "a.jpg");
    EXPECT_EQ(jobs[1].DestName, "a (2).jpg");
    EXPECT_EQ(jobs[2].DestName, "a (3).jpg");
    EXPECT_EQ(jobs[3].DestName, "x");
    EXPECT_EQ(jobs[4].DestName, "x (2)");
    EXPECT_EQ(jobs[2].DestPath, out + "a (3).jpg");
    EXPECT_EQ(renamed.size(), 3u);
}

TEST(OutputNaming, NumberedNameSkipsSourcesToo) {
    test::TempFolder folder;
    std::vector<ImageJob> jobs = {JobFor(folder.path(), "a.jpg", "a.jpg", ImageFormat::kJpeg),
                                  JobFor(folder.path(), "a (2).jpg", "a (2).jpg", ImageFormat::kJpeg)};
    MakeDestinationsDistinct(jobs);
    EXPECT_EQ(jobs[0].DestName, "a (3).jpg");
    EXPECT_EQ(jobs[1].DestName, "a (2) (2).jpg");
}

TEST(OutputNaming, SourceReachedThroughDotDotIsRecognised) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "out");
    std::vector<ImageJob> jobs = {JobFor(folder.path(), "b.jpg", "b.jpg", ImageFormat::kJpeg)};
    jobs[0].DestPath = folder.path() + "out/../b.jpg";
    MakeDestinationsDistinct(jobs);
    EXPECT_EQ(jobs[0].DestName, "b (2).jpg");
}

}  // namespace
}  // namespace pelimon
