// The tag catalogue and the value texts of the formatter.
#include <gtest/gtest.h>

#include <string>

#include "exif/exif_reader.h"
#include "exif/exif_text.h"
#include "exif/format_value.h"
#include "exif/tag_table.h"
#include "exif_test_files.h"

namespace pelimon {
namespace {

using test::Ascii;
using test::Bytes;

TEST(TagTable, BuiltinCatalogueHasEveryTagInAscendingOrder) {
    const TagTable& table = BuiltinTagTable();
    ASSERT_EQ(table.numbers.size(), 83u);
    ASSERT_EQ(table.names.size(), 83u);
    for (size_t i = 1; i < table.numbers.size(); ++i) {
        EXPECT_LT(table.numbers[i - 1], table.numbers[i]) << "row " << i;
    }
    EXPECT_EQ(table.numbers.front(), 0x0001);
    EXPECT_EQ(table.names.front(), "ExifR98 情報");
    EXPECT_EQ(table.numbers.back(), 0xA40C);
    EXPECT_EQ(table.names.back(), "被写体との距離");
}

TEST(TagTable, FindTagFindsEveryRowAndNothingElse) {
    const TagTable& table = BuiltinTagTable();
    const int size = static_cast<int>(table.numbers.size());
    for (int i = 0; i < size; ++i) {
        EXPECT_EQ(FindTag(table.numbers[static_cast<size_t>(i)], table.numbers, 0, size), i);
    }
    for (const uint16_t missing : std::initializer_list<uint16_t>{0x0000, 0x0003, 0x8825, 0xA40B, 0xFFFF}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(FindTag(missing, table.numbers, 0, size), -1);
    }
    // A tag just past the searched range is not reported as found.
    EXPECT_EQ(FindTag(table.numbers[5], table.numbers, 0, 5), -1);
}

TEST(TagTable, ParsesWindowsLineEndsAndStopsAtTheDeclaredCount) {
    const TagTable table = ParseTagTable("2\r\n0110\t機種名\r\n9003\t画像撮影日時\r\na40c\tignored\r\n");
    ASSERT_EQ(table.numbers.size(), 2u);
    EXPECT_EQ(table.numbers[1], 0x9003);
    EXPECT_EQ(table.names[1], "画像撮影日時");
}

TEST(TagTable, ShortTextGivesShorterTable) {
    EXPECT_EQ(ParseTagTable("83\n0110\t機種名\n9003").numbers.size(), 1u);
    EXPECT_TRUE(ParseTagTable("").numbers.empty());
    EXPECT_TRUE(ParseTagTable("-5\n0110\tx\n").numbers.empty());
}

TEST(TagTable, ReaderNamesUnknownTagsAndKnowsCatalogueNames) {
    CExifReader reader;
    std::vector<ExifEntry> list(2);
    EXPECT_EQ(reader.SetTagName(0, 0x9003, list), -1);  // no catalogue loaded yet
    EXPECT_EQ(list[0].name, "不明");
    reader.LoadTagTable();
    EXPECT_GE(reader.SetTagName(0, 0x9003, list), 0);
    EXPECT_EQ(list[0].name, "画像撮影日時");
    EXPECT_EQ(reader.SetTagName(1, 0x8825, list), -1);
    EXPECT_EQ(list[1].name, "不明");
}

struct FormatCase {
    const char* what;
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    Bytes (*value)(bool little_endian);
    const char* expected;
    uint32_t speed = 0;
};

// Value examples of the catalogue's documentation, each in both byte orders.
const FormatCase kFormatCases[] = {
    {"exposure time 1/125", 0x829A, 5, 1, [](bool le) { return test::Rational(1, 125, le); }, "1/125 (秒)"},
    {"F-number 28/10", 0x829D, 5, 1, [](bool le) { return test::Rational(28, 10, le); }, "F2.8"},
    {"focal length 63/10", 0x920A, 5, 1, [](bool le) { return test::Rational(63, 10, le); }, "6.30 (mm)"},
    {"shutter speed 7/1", 0x9201, 10, 1, [](bool le) { return test::Rational(7, 1, le); }, "1/128 (秒)"},
    {"shutter speed -1/1", 0x9201, 10, 1, [](bool le) { return test::Rational(static_cast<uint32_t>(-1), 1, le); },
     "2.00 (秒)"},
    {"aperture 3/1", 0x9202, 5, 1, [](bool le) { return test::Rational(3, 1, le); }, "F2.8"},
    {"exposure bias -1/3", 0x9204, 10, 1, [](bool le) { return test::Rational(static_cast<uint32_t>(-1), 3, le); },
     "EV-0.3"},
    {"subject distance 35/10", 0x9206, 10, 1, [](bool le) { return test::Rational(35, 10, le); }, "3.5 (m)"},
    {"brightness 5/1 at ISO 100", 0x9203, 10, 1, [](bool le) { return test::Rational(5, 1, le); }, "EV10.0", 100},
    {"ISO speed 200", 0x8827, 3, 1, [](bool le) { return test::Short(200, le); }, "200"},
    {"pixel width 1600 LONG", 0xA002, 4, 1, [](bool le) { return test::Long(1600, le); }, "1600 (pixel)"},
    {"pixel width 1600 SHORT", 0xA002, 3, 1, [](bool le) { return test::Short(1600, le); }, "1600 (pixel)"},
    {"flash 16", 0x9209, 3, 1, [](bool le) { return test::Short(16, le); }, "フラッシュ強制オフ"},
    {"flash 65 with red-eye bit", 0x9209, 3, 1, [](bool le) { return test::Short(65, le); }, "不明"},
    {"components 1 2 3 0", 0x9101, 7, 4,
     [](bool) {
         return Bytes{1, 2, 3, 0};
     },
     "YCbCr 形式"},
    {"CFA pattern", 0xA302, 7, 8, [](bool) { return Bytes{0, 2, 0, 2, 0, 1, 1, 2}; }, "0002,0002,00,01,01,02"},
    {"contrast 3", 0xA408, 3, 1, [](bool le) { return test::Short(3, le); }, ""},
    {"exposure program 0", 0x8822, 3, 1, [](bool le) { return test::Short(0, le); }, "不明"},
    {"interoperability index R98", 0x0001, 2, 4, [](bool) { return Ascii("R98"); }, "R98"},
    {"Exif version 0220", 0x9000, 7, 4,
     [](bool) {
         return Bytes{'0', '2', '2', '0'};
     },
     "0220"},
    {"shooting date", 0x9003, 2, 20, [](bool) { return Ascii("2007:05:02 14:03:09"); }, "2007/05/02 14:03:09"},
    {"orientation 6", 0x0112, 3, 1, [](bool le) { return test::Short(6, le); }, "右上"},
    {"maker note offset", 0x927C, 7, 3000, [](bool le) { return test::Long(1234, le); }, "1234 バイト"},
    {"user comment", 0x9286, 7, 13,
     [](bool) { return Bytes{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'e', 'l', 'l', 'o'}; }, "hello"},
    {"user comment shorter than its prefix", 0x9286, 7, 4,
     [](bool) {
         return Bytes{'A', 'S', 'C', 'I'};
     },
     ""},
    {"date with one colon", 0x9003, 2, 8, [](bool) { return Ascii("2007:05"); }, "2007/05"},
    {"tag outside the catalogue", 0x8825, 4, 1, [](bool le) { return test::Long(7, le); }, ""},
    {"text cut at the entry's count", 0x010F, 2, 3,
     [](bool) {
         return Bytes{'A', 'B', 'C', 'D'};
     },
     "ABC"},
};

TEST(FormatValue, DocumentedExamples) {
    for (const bool le : {true, false}) {
        for (const FormatCase& c : kFormatCases) {
            SCOPED_TRACE(std::string(c.what) + (le ? " II" : " MM"));
            ExifEntry entry{c.tag, c.type, TypeSize(c.type), c.count, {}, {}};
            Bytes value = c.value(le);
            if (value.size() < 4) {
                value.resize(4, 0);
            }
            EXPECT_EQ(FormatTagValue(entry, value, le, c.speed), c.expected);
        }
    }
}

TEST(FormatValue, ZeroDenominatorsAndMissingBytesDoNotFail) {
    // A rule that needs 48 bytes given 8, and ratios over zero: some text, no crash.
    for (const uint16_t tag :
         std::initializer_list<uint16_t>{0x013F, 0x0211, 0x829D, 0x9201, 0x9203, 0x920A, 0xA302, 0x0102}) {
        SCOPED_TRACE(tag);
        const ExifEntry entry{tag, 5, 8, 1, {}, {}};
        EXPECT_NO_FATAL_FAILURE(FormatTagValue(entry, test::Rational(1, 0, true), true, 0));
        EXPECT_NO_FATAL_FAILURE(FormatTagValue(entry, {}, true, 0));
    }
}

struct TextCase {
    const char* what;
    Bytes bytes;
    const char* expected;
};

TEST(ExifText, DecodesAndEscapes) {
    const TextCase cases[] = {
        {"ASCII", {'C', 'a', 'n', 'o', 'n'}, "Canon"},
        {"UTF-8 kept", {0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC}, "日本"},
        {"CP932 decoded", {0x93, 0xFA, 0x96, 0x7B}, "日本"},
        {"invalid bytes escaped", {'A', 0x80, 0xFF}, "A\\x80\\xff"},
        {"control characters visible", {'a', '\n', 'b', '\t', 0x01}, "a\\nb\\t\\x01"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeExifText(c.bytes), c.expected);
    }
}

}  // namespace
}  // namespace pelimon
