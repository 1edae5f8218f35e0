// Keeping a reduced copy of a tree up to date through the pelimon binary: --update, the manifest it
// keeps, and --files-from.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "batch/output_manifest.h"
#include "tests/app/app_test_support.h"
#include "tests/support/pelimon_process.h"
#include "tests/support/read_only_folder.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::TempFolder;
using namespace std::string_literals;

const std::vector<std::string> kSources = {"a.jpg", "2026/b.jpg", "2026/kyoto/c.jpg", "2026/kyoto/d.jpg", "2025/e.jpg"};

// The outputs a --verbose run wrote, from its lines on standard error ("source<TAB>output<TAB>..."),
// relative to `out`, sorted.
std::vector<std::string> WrittenOutputs(const std::string& err, const std::string& out) {
    std::vector<std::string> written;
    std::istringstream stream(err);
    for (std::string line; std::getline(stream, line);) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            continue;
        }
        const std::string output = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
        written.push_back(output.starts_with(out) ? output.substr(out.size()) : output);
    }
    std::sort(written.begin(), written.end());
    return written;
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<ManifestEntry> ManifestOf(const std::string& out) {
    return ParseManifest(ReadText(out + std::string(kManifestName))).value_or(std::vector<ManifestEntry>{});
}

// Moves a file's modification time by a second without changing its bytes.
void Touch(const std::string& path) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(1));
}

class UpdateCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        src = scratch.path() + "src/";
        out = scratch.path() + "out/";
        for (const std::string& name : kSources) {
            fs::create_directories(fs::path(src + name).parent_path());
            test::WriteJpeg(src + name, 64, 48);
        }
    }
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.end(), {"--verbose", "-s", "32x32", "-o", out});
        if (std::find(args.begin(), args.end(), "--files-from") == args.end()) {
            args.insert(args.end(), {"-r", src});
        } else {
            args.push_back(src);
        }
        return test::RunPelimon(args, scratch.Path("pelimon.ini"), scratch / "stderr.txt", {"LANGUAGE=en"},
                                scratch.path());
    }
    std::vector<std::string> Outputs(const std::vector<std::string>& names) const {
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    TempFolder scratch;
    std::string src, out;
};

TEST_F(UpdateCommandLine, WritesOnlyWhatChangedAndNeverDeletes) {
    const ProcessResult first = Run({"--update"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(WrittenOutputs(first.err, out), Outputs(kSources));
    const std::vector<ManifestEntry> manifest = ManifestOf(out);
    ASSERT_EQ(manifest.size(), kSources.size());
    EXPECT_EQ(manifest[0].source, "2025/e.jpg");
    EXPECT_EQ(manifest[0].output, "2025/e.jpg");
    EXPECT_EQ(manifest[0].size, static_cast<int64_t>(fs::file_size(src + "2025/e.jpg")));

    // Each step changes something and names the outputs that the next --update run writes.
    const struct Step {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> extra_options;
        std::vector<std::string> written;
    } steps[] = {
        {"nothing changed", [] {}, {}, {}},
        {"two sources touched",
         [&] { Touch(src + "a.jpg"), Touch(src + "2026/kyoto/d.jpg"); },
         {},
         {"2026/kyoto/d.jpg", "a.jpg"}},
        {"a source rewritten", [&] { test::WriteJpeg(src + "2026/b.jpg", 80, 60); }, {}, {"2026/b.jpg"}},
        {"an output deleted", [&] { fs::remove(out + "2025/e.jpg"); }, {}, {"2025/e.jpg"}},
        {"a setting that shapes outputs", [] {}, {"-q", "70"}, Outputs(kSources)},
        {"back to the first settings", [] {}, {}, Outputs(kSources)},
        {"a rotation", [] {}, {"--rotate", "90"}, Outputs(kSources)},
        {"a source deleted: its output stays", [&] { fs::remove(src + "2026/kyoto/c.jpg"); }, {"--rotate", "90"}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        std::vector<std::string> args = step.extra_options;
        args.push_back("--update");
        std::vector<std::string> plan_args = args;
        plan_args.push_back("-n");
        const ProcessResult plan = Run(plan_args);
        const ProcessResult run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(WrittenOutputs(run.err, out), step.written);
        EXPECT_EQ(WrittenOutputs(plan.out, out), step.written) << plan.out;  // the dry run names the same
        const size_t skipped = kSources.size() - step.written.size() - (fs::exists(src + "2026/kyoto/c.jpg") ? 0 : 1);
        if (skipped > 0) {
            EXPECT_NE(run.err.find(std::to_string(skipped) + " skipped as up to date"), std::string::npos) << run.err;
        }
    }
    EXPECT_TRUE(fs::exists(out + "2026/kyoto/c.jpg"));
    EXPECT_EQ(ManifestOf(out).size(), kSources.size());  // the deleted source's entry stays with its output
}

TEST_F(UpdateCommandLine, DamagedManifestIsNotTrustedAndIsRebuilt) {
    ASSERT_EQ(Run({"--update"}).status, 0);
    const std::string manifest_path = out + std::string(kManifestName);
    const std::string whole = ReadText(manifest_path);
    const struct {
        const char* what;
        std::string text;
    } damages[] = {
        {"cut short", whole.substr(0, whole.size() / 2)},
        {"wrong count", whole.substr(0, whole.rfind("end ")) + "end 99\n"},
        {"garbage", std::string("\x89PNG\r\n\x1a\n not a manifest", 24)},
        {"a field that is no number",
         [&] {
             std::string text = whole;
             text.replace(text.find('\t') + 1, 1, "x");
             return text;
         }()},
        {"empty", ""},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        test::WriteBytes(manifest_path, damage.text);
        const ProcessResult run = Run({"--update"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(WrittenOutputs(run.err, out), Outputs(kSources));            // nothing taken from it
        EXPECT_NE(run.err.find(manifest_path), std::string::npos) << run.err;  // the note names it
        EXPECT_EQ(ManifestOf(out).size(), kSources.size());                    // rebuilt whole
        EXPECT_TRUE(WrittenOutputs(Run({"--update"}).err, out).empty());
    }
}

TEST_F(UpdateCommandLine, TouchingSomeSourcesOfATreeWritesExactlyThose) {
    std::vector<std::string> all;
    for (int folder = 0; folder < 6; ++folder) {
        for (int i = 0; i < 8; ++i) {
            std::string name = "t/f" + std::to_string(folder) + "/p" + std::to_string(i) + ".jpg";
            fs::create_directories(fs::path(src + name).parent_path());
            fs::copy_file(src + "a.jpg", src + name);
            all.push_back(name);
        }
    }
    ASSERT_EQ(Run({"--update"}).status, 0);
    std::vector<std::string> touched;
    for (size_t i = 0; i < all.size(); i += 5) {
        Touch(src + all[i]);
        touched.push_back(all[i]);
    }
    const ProcessResult run = Run({"--update"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(WrittenOutputs(run.err, out), Outputs(touched));
}

TEST_F(UpdateCommandLine, FilesFromGiveTheOutputsOfTheTree) {
    ASSERT_EQ(Run({}).status, 0);
    const std::vector<std::string> tree_outputs = WrittenOutputs(Run({}).err, out);
    fs::remove_all(out);
    // Relative and absolute names, a folder and a file of no image type among them, and "./".
    const std::string list = scratch / "list";
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> options;
    } lists[] = {
        {"lines", "a.jpg\n./2026/b.jpg\n" + src + "2026/kyoto/c.jpg\n2026/kyoto\n2026/kyoto/d.jpg\n2025/e.jpg\n", {}},
        {"NUL-separated",
         ("a.jpg\0"
          "2026/b.jpg\0"
          "2026/kyoto/c.jpg\0"
          "2026/kyoto/d.jpg\0"
          "2025/e.jpg\0"
          "notes.txt\0"s),
         {"-0"}},
    };
    test::WriteBytes(src + "notes.txt", "not an image");
    for (const auto& c : lists) {
        SCOPED_TRACE(c.what);
        fs::remove_all(out);
        test::WriteBytes(list, c.text);
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"--files-from", list});
        const ProcessResult run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(WrittenOutputs(run.err, out), tree_outputs);
    }

    // A name that is not there is reported, and the rest is written.
    test::WriteBytes(list, "a.jpg\nmissing.jpg\n");
    const ProcessResult missing = Run({"--files-from", list});
    EXPECT_EQ(missing.status, 4);
    EXPECT_NE(missing.err.find("missing.jpg"), std::string::npos) << missing.err;
    // Option errors: -0 alone, two folders, a list that cannot be read.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-0", src},
                                                 {"--files-from", list, src, src},
                                                 {"--files-from", list + "-none", src}}) {
        const ProcessResult refused = test::RunPelimon(args, scratch.Path("pelimon.ini"), scratch / "stderr.txt");
        EXPECT_EQ(refused.status, 2) << refused.err;
    }
}

TEST_F(UpdateCommandLine, UnwritableOutputRootIsRefusedAndNothingIsWritten) {
    fs::create_directories(out);
    test::ReadOnlyFolder read_only(out);
    if (!read_only.ok()) {
        GTEST_SKIP() << "no read-only folder can be made here: " << read_only.why();
    }
    const ProcessResult run = Run({"--update"});
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.err.find(out), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out + std::string(kManifestName)));
}

}  // namespace
}  // namespace pelimon
