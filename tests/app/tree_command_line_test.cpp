// Folder trees through the pelimon binary: what -r lists, and where the outputs of a tree go.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"
#include "tests/batch/batch_test_support.h"
#include "tests/support/pelimon_process.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::TempFolder;

// Every regular file below `folder`, as paths relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Column `column` (0: source, 1: output) of each dry-run line, relative to `base`.
std::vector<std::string> PlanColumn(const std::string& out, int column, const std::string& base) {
    std::vector<std::string> values;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        std::istringstream fields(line);
        std::string value;
        for (int i = 0; i <= column; ++i) {
            std::getline(fields, value, '\t');
        }
        values.push_back(value.starts_with(base) ? value.substr(base.size()) : value);
    }
    return values;
}

class TreeCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        src = scratch.path() + "src/";
        out = scratch.path() + "out/";
        for (const char* name : {"b.jpg", "A.jpg", "2026/kyoto/a.jpg", "2026/kyoto/deep/er/z.jpg", "2025/x.jpg",
                                 "2026/b.jpg", ".hidden/h.jpg", "2026/.cache/c.jpg"}) {
            fs::create_directories(fs::path(src + name).parent_path());
            test::WriteJpeg(src + name, 32, 24);
        }
        // A link back up the tree (a loop if followed) and a link to a file, which is listed.
        fs::create_directory_symlink(src, src + "2026/loop");
        fs::create_symlink(src + "b.jpg", src + "2025/linked.jpg");
    }
    ProcessResult Run(const std::vector<std::string>& args) {
        return test::RunPelimon(args, scratch.Path("pelimon.ini"), scratch / "stderr.txt", test::kJapaneseLocale,
                                scratch.path());
    }
    TempFolder scratch;
    std::string src, out;
};

TEST_F(TreeCommandLine, ListsEveryDepthInNameOrderWithoutHiddenFoldersOrFolderLinks) {
    const ProcessResult plan = Run({"-n", "-r", "-o", out, src});
    ASSERT_EQ(plan.status, 0) << plan.err;
    // Each folder's own files first, then its subfolders, each in name order.
    const std::vector<std::string> sources = {"A.jpg",
                                              "b.jpg",
                                              "2025/linked.jpg",
                                              "2025/x.jpg",
                                              "2026/b.jpg",
                                              "2026/kyoto/a.jpg",
                                              "2026/kyoto/deep/er/z.jpg"};
    EXPECT_EQ(PlanColumn(plan.out, 0, src), sources);
    EXPECT_EQ(PlanColumn(plan.out, 1, out), sources);  // the dry run shows the mirrored names
    EXPECT_FALSE(fs::exists(out));

    // Without -r only the folder's own files.
    const ProcessResult flat_listing = Run({"-n", "-o", out, src});
    EXPECT_EQ(PlanColumn(flat_listing.out, 0, src), (std::vector<std::string>{"A.jpg", "b.jpg"}));
}

TEST_F(TreeCommandLine, OutputsMirrorTheTreeOrGoFlatWithCollisionNames) {
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> outputs;
    } cases[] = {
        {{"-r"},
         {"2025/linked.jpg", "2025/x.jpg", "2026/b.jpg", "2026/kyoto/a.jpg", "2026/kyoto/deep/er/z.jpg", "A.jpg",
          "b.jpg"}},
        // A name that an earlier folder's file took gets a number (2026/b.jpg: "b (2).jpg").
        {{"-r", "--flat"}, {"A.jpg", "a.jpg", "b (2).jpg", "b.jpg", "linked.jpg", "x.jpg", "z.jpg"}},
        // Running numbers count across the whole run, each output in its source's folder.
        {{"-r", "--number=p"},
         {"2025/p0003.jpg", "2025/p0004.jpg", "2026/kyoto/deep/er/p0007.jpg", "2026/kyoto/p0006.jpg", "2026/p0005.jpg",
          "p0001.jpg", "p0002.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        fs::remove_all(out);
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"-o", out, src});
        const ProcessResult run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(FilesBelow(out), c.outputs);
    }

    // What a killed run (of a process that no longer runs) left in a subfolder is cleared away.
    const std::string stale = out + "2026/kyoto/.a.jpg.pelimon-999999999-abcdef";
    fs::create_directories(out + "2026/kyoto");
    test::WriteBytes(stale, "partial");
    ASSERT_EQ(Run({"-r", "-o", out, src}).status, 0);
    EXPECT_FALSE(fs::exists(stale));
}

TEST_F(TreeCommandLine, OutputFolderInsideTheSourceIsNotListedAndSourcesStay) {
    const std::string inside = src + "2026/reduced/";
    const ProcessResult first = Run({"-r", "-o", inside, src});
    ASSERT_EQ(first.status, 0) << first.err;
    // A second run lists the same sources, not the first run's outputs.
    const ProcessResult plan = Run({"-n", "-r", "-o", inside, src});
    const std::vector<std::string> sources = PlanColumn(plan.out, 0, src);
    EXPECT_EQ(sources.size(), 7u) << plan.out;
    EXPECT_EQ(std::count_if(sources.begin(), sources.end(),
                            [](const std::string& s) { return s.starts_with("2026/reduced"); }),
              0)
        << plan.out;

    // Output folder = source folder: the mirrored outputs would be the sources themselves, so
    // each gets a name of its own and no source is written over.
    const auto size_before = fs::file_size(src + "2026/kyoto/a.jpg");
    const ProcessResult same = Run({"-r", "-s", "8x8", "-o", src, src});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(fs::file_size(src + "2026/kyoto/a.jpg"), size_before);
    EXPECT_TRUE(fs::exists(src + "2026/kyoto/a (2).jpg"));
}

}  // namespace
}  // namespace pelimon
