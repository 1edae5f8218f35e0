// The value texts of GPS IFDs: positions with their references, altitude, time and date stamps,
// and the plain numbers and texts of the other GPS tags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exif/format_gps.h"
#include "exif_test_files.h"

namespace pelimon {
namespace {

using test::Ascii;
using test::Bytes;
using test::Rationals;

struct GpsEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    Bytes value;
    const char* expected;
};

// Formats one GPS IFD and compares every entry's text.
void ExpectTexts(const std::vector<GpsEntry>& directory) {
    std::vector<ExifEntry> entries;
    std::vector<std::span<const uint8_t>> values;
    for (const GpsEntry& e : directory) {
        entries.push_back({e.tag, e.type, TypeSize(e.type), e.count, {}, {}});
        values.emplace_back(e.value);
    }
    FormatGpsValues(entries, values, true);
    for (size_t i = 0; i < directory.size(); ++i) {
        SCOPED_TRACE("tag " + std::to_string(directory[i].tag));
        EXPECT_EQ(entries[i].value, directory[i].expected);
    }
}

TEST(GpsValues, PositionsReadInDegreesWithTheirReferences) {
    // The phone's own values: 41° 51.18' N, 12° 29.33' E.
    ExpectTexts({
        {0x0001, 2, 2, Ascii("N"), "N"},
        {0x0002, 5, 3, Rationals({{41, 1}, {5118, 100}, {0, 1}}, true), "41.853000° N"},
        {0x0003, 2, 2, Ascii("E"), "E"},
        {0x0004, 5, 3, Rationals({{12, 1}, {2933, 100}, {0, 1}}, true), "12.488833° E"},
    });
    // South and west, the references after their positions, empty seconds stored as 0/0.
    ExpectTexts({
        {0x0002, 5, 3, Rationals({{33, 1}, {51, 1}, {2448, 100}}, true), "33.856800° S"},
        {0x0004, 5, 3, Rationals({{151, 1}, {12, 1}, {0, 0}}, true), "151.200000° W"},
        {0x0001, 2, 2, Ascii("S"), "S"},
        {0x0003, 2, 2, Ascii("W"), "W"},
        {0x0014, 5, 3, Rationals({{1, 1}, {30, 1}, {0, 1}}, true), "1.500000°"},  // no reference
    });
}

TEST(GpsValues, AltitudeTimeDatumAndOtherTags) {
    ExpectTexts({
        {0x0000, 1, 4, {2, 3, 0, 0}, "2.3.0.0"},
        {0x0005, 1, 1, {1, 0, 0, 0}, "海面下"},
        {0x0006, 5, 1, Rationals({{125, 10}}, true), "-12.5 m"},
        {0x0007, 5, 3, Rationals({{14, 1}, {33, 1}, {3562, 100}}, true), "14:33:35.62 UTC"},
        {0x000B, 5, 1, Rationals({{25, 10}}, true), "2.5"},
        {0x0011, 5, 1, Rationals({{35334, 199}}, true), "177.56"},
        {0x0012, 2, 7, Ascii("WGS-84"), "WGS-84"},
        {0x001B, 7, 11, {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'G', 'P', 'S'}, "GPS"},
        {0x001D, 2, 11, Ascii("2011:05:02"), "2011/05/02"},
        {0x001E, 3, 1, {1, 0, 0, 0}, "1"},
        {0x0020, 7, 2, {}, ""},  // no value bytes: no text
    });
    ExpectTexts({
        {0x0005, 1, 1, {0, 0, 0, 0}, "海抜"},
        {0x0006, 5, 1, Rationals({{0, 100}}, true), "0.0 m"},
        {0x0007, 5, 3, Rationals({{9, 1}, {5, 1}, {7, 1}}, true), "09:05:07 UTC"},
    });
}

}  // namespace
}  // namespace pelimon
