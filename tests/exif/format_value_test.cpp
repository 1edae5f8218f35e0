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
using test::Rationals;

TEST(TagTable, BuiltinCatalogueHasEveryScopeInAscendingOrder) {
    const TagTable& table = BuiltinTagTable();
    ASSERT_EQ(table.numbers.size(), 122u);
    ASSERT_EQ(table.names.size(), 122u);
    ASSERT_EQ(table.scopes.size(), 122u);
    const struct {
        TagScope scope;
        size_t rows;
        uint16_t first;
        uint16_t last;
    } scopes[] = {{TagScope::kCommon, 88, 0x0001, 0xA435},
                  {TagScope::kMain, 2, 0x011A, 0x011B},
                  {TagScope::kGps, 32, 0x0000, 0x001F}};
    for (const auto& c : scopes) {
        SCOPED_TRACE(static_cast<int>(c.scope));
        const auto [low, high] = table.Rows(c.scope);
        ASSERT_EQ(static_cast<size_t>(high - low), c.rows);
        EXPECT_EQ(table.numbers[static_cast<size_t>(low)], c.first);
        EXPECT_EQ(table.numbers[static_cast<size_t>(high - 1)], c.last);
        for (int i = low + 1; i < high; ++i) {
            EXPECT_LT(table.numbers[static_cast<size_t>(i - 1)], table.numbers[static_cast<size_t>(i)]) << "row " << i;
        }
        for (int i = low; i < high; ++i) {
            EXPECT_EQ(FindTag(table.numbers[static_cast<size_t>(i)], table.numbers, low, high), i);
        }
    }
    for (const uint16_t missing : std::initializer_list<uint16_t>{0x0000, 0x0003, 0x8830, 0xA40B, 0xFFFF}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(FindTagIn(table, ExifDirectory::kSub, missing), -1);
    }
    // A tag just past the searched range is not reported as found.
    EXPECT_EQ(FindTag(table.numbers[5], table.numbers, 0, 5), -1);
}

// One tag number, different tags: IFD0's resolution is the image's and IFD1's the thumbnail's;
// the GPS IFD numbers its own tags and knows no other rows.
TEST(TagTable, SameNumberIsNamedByItsDirectory) {
    const struct {
        ExifDirectory directory;
        uint16_t tag;
        const char* name;  // nullptr: not in the catalogue there
    } cases[] = {
        {ExifDirectory::kMain, 0x011A, "横方向解像度"},
        {ExifDirectory::kMain, 0x011B, "縦方向解像度"},
        {ExifDirectory::kThumbnail, 0x011A, "サムネイル画像の横方向解像度"},
        {ExifDirectory::kThumbnail, 0x011B, "サムネイル画像の縦方向解像度"},
        {ExifDirectory::kMain, 0x010F, "メーカー"},
        {ExifDirectory::kInterop, 0x0001, "ExifR98 情報"},
        {ExifDirectory::kGps, 0x0001, "緯度の南北"},
        {ExifDirectory::kGps, 0x0002, "緯度"},
        {ExifDirectory::kGps, 0x0012, "測地系"},
        {ExifDirectory::kGps, 0x010F, nullptr},
        {ExifDirectory::kSub, 0xA434, "レンズのモデル"},
    };
    const TagTable& table = BuiltinTagTable(kJapanese);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.directory)) + " " + std::to_string(c.tag));
        const int row = FindTagIn(table, c.directory, c.tag);
        if (c.name == nullptr) {
            EXPECT_EQ(row, -1);
        } else {
            ASSERT_GE(row, 0);
            EXPECT_EQ(table.names[static_cast<size_t>(row)], c.name);
        }
    }
}

TEST(TagTable, ScopesAreGroupedAndUnknownScopesLeftOut) {
    const TagTable table = ParseTagTable("5\ngps:0002\tB\nmain:011a\tA\n0110\tC\nfoo:0001\tD\n9003\tE\n");
    ASSERT_EQ(table.numbers, (std::vector<uint16_t>{0x0110, 0x9003, 0x011A, 0x0002}));
    EXPECT_EQ(table.names, (std::vector<std::string>{"C", "E", "A", "B"}));
    EXPECT_EQ(table.Rows(TagScope::kMain), std::make_pair(2, 3));
    EXPECT_EQ(FindTagIn(table, ExifDirectory::kMain, 0x0110), 0);
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
    EXPECT_EQ(reader.SetTagName(0, 0x9003, list, ExifDirectory::kSub), -1);  // no catalogue loaded yet
    EXPECT_EQ(list[0].name, "不明");
    reader.LoadTagTable();
    EXPECT_GE(reader.SetTagName(0, 0x9003, list, ExifDirectory::kSub), 0);
    EXPECT_EQ(list[0].name, "画像撮影日時");
    EXPECT_EQ(reader.SetTagName(1, 0x8830, list, ExifDirectory::kSub), -1);
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
    {"tag outside the catalogue", 0x8830, 3, 1, [](bool le) { return test::Short(7, le); }, ""},
    {"GPS IFD pointer", 0x8825, 4, 1, [](bool le) { return test::Long(3740, le); }, "3740 バイト"},
    {"lens range, apertures unknown", 0xA432, 5, 4,
     [](bool le) {
         return Rationals({{18, 1}, {55, 1}, {0, 0}, {0, 0}}, le);
     },
     "18-55 mm"},
    {"lens range of a phone", 0xA432, 5, 4,
     [](bool le) {
         return Rationals({{807365, 524263}, {6, 1}, {9, 5}, {12, 5}}, le);
     },
     "1.54-6 mm F1.8-2.4"},
    {"lens range of a prime lens", 0xA432, 5, 4,
     [](bool le) {
         return Rationals({{50, 1}, {50, 1}, {14, 10}, {14, 10}}, le);
     },
     "50 mm F1.4"},
    {"lens make", 0xA433, 2, 6, [](bool) { return Ascii("Apple"); }, "Apple"},
    {"lens model", 0xA434, 2, 17, [](bool) { return Ascii("EF50mm f/1.4 USM"); }, "EF50mm f/1.4 USM"},
    {"lens serial number", 0xA435, 2, 11, [](bool) { return Ascii("0000012345"); }, "0000012345"},
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
