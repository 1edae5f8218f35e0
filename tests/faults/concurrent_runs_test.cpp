// Two pelimon processes started together, writing the same names into one output folder and
// saving one settings file.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/faults/fault_test_support.h"

namespace pelimon {
namespace {

using test::IncompleteImagesIn;
using test::ListFolder;
using test::MakeTestImage;
using test::NumberedName;
using test::PelimonProcess;
using test::PelimonRunTest;
using test::ProcessResult;
using test::TemporaryFilesIn;
using test::WriteImageFile;

constexpr int kSources = 30;

class ConcurrentRuns : public PelimonRunTest {
  protected:
    std::string Source(int i) const { return src + NumberedName("p", i, ".jpg"); }
    std::vector<std::string> SourceRange(int first, int end) const {
        std::vector<std::string> args{"/Q"};
        for (int i = first; i < end; ++i) {
            args.push_back(Source(i));
        }
        return args;
    }
};

TEST_F(ConcurrentRuns, NeverLeaveAPartialOrTemporaryFile) {
    const std::string out = scratch / "out/";
    for (int i = 0; i < kSources; ++i) {
        WriteImageFile(Source(i), MakeTestImage(480, 360, i));
    }
    const struct {
        const char* label;
        std::vector<std::string> first;
        std::vector<std::string> second;
    } cases[] = {
        {"the same folder", {"/Q", src}, {"/Q", src}},
        {"overlapping files", SourceRange(0, 20), SourceRange(10, kSources)},
    };
    std::vector<std::string> expected;
    for (int i = 0; i < kSources; ++i) {
        expected.push_back(NumberedName("p", i, "_s.jpg"));
    }
    std::sort(expected.begin(), expected.end());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        test::WriteBytes(ini, test::SettingsText(out));
        ProcessResult first_run;
        ProcessResult second_run;
        {
            PelimonProcess first(c.first, ini, scratch / "stderr-1.txt");
            PelimonProcess second(c.second, ini, scratch / "stderr-2.txt");
            first_run = first.Wait();
            second_run = second.Wait();
        }
        EXPECT_EQ(first_run.status, 0) << first_run.err;
        EXPECT_EQ(second_run.status, 0) << second_run.err;
        EXPECT_EQ(ListFolder(out), expected);
        EXPECT_TRUE(TemporaryFilesIn(out).empty()) << ::testing::PrintToString(TemporaryFilesIn(out));
        EXPECT_TRUE(IncompleteImagesIn(out).empty()) << ::testing::PrintToString(IncompleteImagesIn(out));
        // Both saved the settings file; whichever came last, it is whole.
        EXPECT_TRUE(TemporaryFilesIn(scratch.path()).empty());
        const std::vector<uint8_t> bytes = test::ReadBytes(ini);
        const std::string saved(bytes.begin(), bytes.end());
        EXPECT_NE(saved.find("OutputPath=" + out), std::string::npos) << saved;
        EXPECT_NE(saved.find("AddText=_s"), std::string::npos) << saved;
        std::filesystem::remove_all(out);
    }
}

}  // namespace
}  // namespace pelimon
