#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "tests/support/read_only_folder.h"

namespace pelimon {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pelimon-atomic-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    size_t EntryCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

    fs::path dir_;
};

TEST_F(AtomicFileTest, ReplacesTheFileAndLeavesNoTemporary) {
    const std::string path = (dir_ / "out.txt").string();
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("first")).ok());
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("second")).ok());
    auto read = ReadWholeFile(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), "second");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, FailureInUnwritableFolderKeepsTheOldFile) {
    const std::string path = (dir_ / "keep.txt").string();
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("original")).ok());
    const test::ReadOnlyFolder read_only(dir_.string());
    ASSERT_TRUE(read_only.ok()) << read_only.why();
    const Status status = WriteFileAtomically(path, std::string_view("new"));
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.error().path, path);
    EXPECT_EQ(ReadWholeFile(path).value(), "original");
}

TEST_F(AtomicFileTest, MissingFileIsAnErrorNamingIt) {
    const std::string path = (dir_ / "missing").string();
    auto read = ReadWholeFile(path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().path, path);
}

TEST_F(AtomicFileTest, FolderOrPipeIsRefusedWithoutBlocking) {
    const std::string pipe_path = (dir_ / "fifo.jpg").string();
    ASSERT_EQ(::mkfifo(pipe_path.c_str(), 0600), 0);
    for (const std::string& path : {dir_.string(), pipe_path}) {
        SCOPED_TRACE(path);
        auto read = ReadWholeFile(path);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().message, "not a regular file");
    }
}

}  // namespace
}  // namespace pelimon
