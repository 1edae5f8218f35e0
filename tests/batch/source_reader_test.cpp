#include "batch/source_reader.h"

#include <gtest/gtest.h>

#include "batch_test_support.h"

namespace pelimon {
namespace {

TEST(SourceReader, JpegPrefixEndsAfterTheScanHeader) {
    test::TempFolder folder;
    const std::string path = folder / "a.jpg";
    test::WriteJpegWithExif(path, test::MakeTestImage(64, 48), 6);
    const std::vector<uint8_t> whole = test::ReadBytes(path);
    const Result<std::vector<uint8_t>> prefix = ReadJpegHeaderPrefix(path);
    ASSERT_TRUE(prefix.ok());
    ASSERT_LT(prefix.value().size(), whole.size());
    ASSERT_GE(prefix.value().size(), 4u);
    EXPECT_TRUE(std::equal(prefix.value().begin(), prefix.value().end(), whole.begin()));
    // The last segment in the prefix is the SOS header: find its marker.
    bool found_sos = false;
    for (size_t i = 0; i + 1 < prefix.value().size(); ++i) {
        found_sos = found_sos || (prefix.value()[i] == 0xFF && prefix.value()[i + 1] == 0xDA);
    }
    EXPECT_TRUE(found_sos);
}

TEST(SourceReader, PrefixIsBounded) {
    test::TempFolder folder;
    const std::string path = folder / "big.jpg";
    // SOI, then an APP15 segment of 65533 payload bytes, repeated: no SOS within the bound.
    std::string bytes = "\xFF\xD8";
    for (int i = 0; i < 40; ++i) {
        bytes += "\xFF\xEF\xFF\xFF";
        bytes += std::string(65533, 'x');
    }
    test::WriteBytes(path, bytes);
    const Result<std::vector<uint8_t>> prefix = ReadJpegHeaderPrefix(path, 200000);
    ASSERT_TRUE(prefix.ok());
    EXPECT_EQ(prefix.value().size(), 200000u);
}

TEST(SourceReader, NonJpegPrefixAndShortFiles) {
    test::TempFolder folder;
    test::WriteBytes(folder / "short", "\xFF\xD8\xFF");
    const Result<std::vector<uint8_t>> prefix = ReadJpegHeaderPrefix(folder / "short");
    ASSERT_TRUE(prefix.ok());
    EXPECT_EQ(prefix.value().size(), 3u);
}

TEST(SourceReader, ReadFileIntoReusesTheBufferAndNamesMissingFiles) {
    test::TempFolder folder;
    test::WriteBytes(folder / "a", std::string(1000, 'a'));
    test::WriteBytes(folder / "b", "bb");
    std::vector<uint8_t> buffer;
    ASSERT_TRUE(ReadFileInto(folder / "a", buffer).ok());
    EXPECT_EQ(buffer.size(), 1000u);
    ASSERT_TRUE(ReadFileInto(folder / "b", buffer).ok());
    EXPECT_EQ(buffer, (std::vector<uint8_t>{'b', 'b'}));
    EXPECT_GE(buffer.capacity(), 1000u);

    const Status missing = ReadFileInto(folder / "missing", buffer);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().path, folder / "missing");
    EXPECT_NE(missing.error().message.find("missing"), std::string::npos);
    EXPECT_TRUE(buffer.empty());
}

}  // namespace
}  // namespace pelimon
