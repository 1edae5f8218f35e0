#include "common/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace pelimon {
namespace {

TEST(LeadingInt, ReadsLikeTheEditControls) {
    struct Row {
        const char* text;
        int32_t expected;
    };
    const Row rows[] = {
        {"50", 50},
        {"50abc", 50},
        {"  -5", -5},
        {"+7x", 7},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"0012", 12},
        {" 8 9", 8},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(LeadingInt(row.text), row.expected);
    }
}

TEST(TextCase, FoldsAsciiOnlyAndLeavesUtf8Alone) {
    EXPECT_EQ(ToUpperAscii("imagePath=写真"), "IMAGEPATH=写真");
    EXPECT_TRUE(EqualsIgnoreCase("ImageSize", "IMAGESIZE"));
    EXPECT_FALSE(EqualsIgnoreCase("Image", "Images"));
    EXPECT_EQ(TrimBlanks(" \t a b \r\n"), "a b");
}

TEST(DecodeUserText, KeepsUtf8AndConvertsShiftJis) {
    EXPECT_EQ(DecodeUserText("\xEF\xBB\xBF"
                             "abc"),
              "abc");
    EXPECT_EQ(DecodeUserText("写真"), "写真");
    // 写真 in CP932 is 8E CA 90 5E; the second byte of 真 is an ASCII caret.
    EXPECT_EQ(DecodeUserText("\x8E\xCA\x90\x5E"), "写真");
    // Where CP932 and strict Shift_JIS differ: 87 40 is ① (an NEC extension that Shift_JIS
    // lacks) and 81 60 is the full-width tilde U+FF5E, not the wave dash U+301C.
    EXPECT_EQ(DecodeUserText("\x87\x40\x81\x60"), "①～");
    EXPECT_EQ(DecodeUserText("\x81\x60"), "\xEF\xBD\x9E");
    // A lone lead byte at the end cannot be decoded and becomes U+FFFD instead of being dropped.
    EXPECT_EQ(DecodeUserText("a\x8E"), "a\xEF\xBF\xBD");
}

TEST(DisplayWidth, CountsWideCharactersAsTwoColumns) {
    EXPECT_EQ(DisplayWidth("Make"), 4);
    EXPECT_EQ(DisplayWidth("撮影日時"), 8);
    EXPECT_EQ(DisplayWidth("ＡＢ"), 4);
    EXPECT_EQ(DisplayWidth("ｱｲ"), 2);  // half-width katakana stay one column
}

}  // namespace
}  // namespace pelimon
