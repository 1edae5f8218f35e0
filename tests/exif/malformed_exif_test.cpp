// Malformed files made by the tests: the reader never reads outside the Exif segment, never
// loops, never allocates more than the segment holds, and never crashes.
#include <gtest/gtest.h>

#include "exif/exif_reader.h"
#include "exif/source_metadata.h"
#include "exif_test_files.h"

namespace pelimon {
namespace {

using test::Bytes;

// Runs every read the dialog and the batch may run, the way they run them.
void ReadEverything(CExifReader& reader) {
    if ((reader.CheckJpeg() & 2) == 0) {
        return;
    }
    reader.ReadMainIFD();
    if (reader.m_bSubIFD) {
        reader.ReadSubIFD();
    }
    if (reader.m_bInterop) {
        reader.ReadInteropIFD();
    }
    reader.ReadThumbnailIFD();
}

CExifReader ReadBytes(const Bytes& file) {
    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileBytes(file);
    ReadEverything(reader);
    return reader;
}

Bytes JpegWithTiff(const Bytes& tiff) {
    return test::JpegWithSegments({test::ExifSegment(tiff)}, test::EncodeTestJpeg(8, 8));
}

TEST(MalformedExif, TruncatedFilesAtEveryLength) {
    const Bytes file = test::ReadFileBytes(test::CameraFile("ii-app0-orient6-interop-thumb-long-sony.jpg"));
    ASSERT_GT(file.size(), 5000u);
    for (size_t length = 0; length < 5000; ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(file.begin(), file.begin() + static_cast<long>(length));
        CExifReader reader = ReadBytes(cut);
        // The Exif segment ends at 20 + 4253: a file cut before that has no usable Exif.
        if (length < 20 + 2 + 4253) {
            EXPECT_TRUE(reader.MainEntries().empty());
        }
        const SourceMetadata metadata = ReadSourceMetadata(cut, 0);
        EXPECT_EQ(metadata.ExifLength == 0, length < 20 + 2 + 4253);
    }
}

TEST(MalformedExif, SegmentsCutShortInsideTheTiffData) {
    const Bytes file = test::ReadFileBytes(test::CameraFile("mm-app1-interop-thumb-short-kodak.jpg"));
    const Bytes jpeg = test::EncodeTestJpeg(8, 8);
    const size_t tiff_size = 8422 - 8;
    ASSERT_GT(file.size(), 12 + tiff_size);
    const size_t full_count = ReadBytes(file).MainEntries().size();
    for (size_t keep = 0; keep < tiff_size; keep += 7) {
        SCOPED_TRACE(keep);
        const Bytes tiff(file.begin() + 12, file.begin() + 12 + static_cast<long>(keep));
        CExifReader reader = ReadBytes(test::JpegWithSegments({test::ExifSegment(tiff)}, jpeg));
        EXPECT_LE(reader.MainEntries().size(), full_count);
    }
}

TEST(MalformedExif, ValuesOutsideTheSegmentAreSkipped) {
    const bool le = true;
    Bytes bytes = test::BuildTiff(le, {{0x010F, 2, 6, test::Ascii("Maker")}, {0x0110, 2, 6, test::Ascii("Model")}});
    // The first entry's value offset (bytes 18..21) now points far past the end.
    bytes[18] = bytes[19] = bytes[20] = 0xF0;
    bytes[21] = 0xFF;
    const CExifReader reader = ReadBytes(JpegWithTiff(bytes));
    ASSERT_EQ(reader.MainEntries().size(), 1u);
    EXPECT_EQ(reader.MainEntries()[0].value, "Model");
}

TEST(MalformedExif, HugeCountsAreSkippedWithoutAllocating) {
    const bool le = false;
    const Bytes tiff = test::BuildTiff(le, {{0x010F, 2, 0xFFFFFFFF, test::Long(8, le)},
                                            {0x013F, 5, 0xFFFFFFFF, test::Long(8, le)},
                                            {0x927C, 7, 0xFFFFFFFF, test::Long(8, le)},
                                            {0x0110, 2, 6, test::Ascii("Model")}});
    const CExifReader reader = ReadBytes(JpegWithTiff(tiff));
    ASSERT_EQ(reader.MainEntries().size(), 2u);
    // The maker note is never fetched, so its count does not matter.
    EXPECT_EQ(reader.MainEntries()[0].tag, 0x927C);
    EXPECT_EQ(reader.MainEntries()[0].value, "8 バイト");
    EXPECT_EQ(reader.MainEntries()[1].value, "Model");
}

TEST(MalformedExif, EntryCountLargerThanTheSegmentKeepsTheEntriesThatFit) {
    const bool le = true;
    Bytes bytes = test::BuildTiff(le, {{0x0112, 3, 1, test::Short(6, le)}}, {{0xA002, 4, 1, test::Long(9, le)}});
    bytes[8] = bytes[9] = 0xFF;  // IFD0 claims 65535 entries
    const CExifReader reader = ReadBytes(JpegWithTiff(bytes));
    EXPECT_LE(reader.MainEntries().size(), bytes.size() / 12);
    ASSERT_FALSE(reader.MainEntries().empty());
    EXPECT_EQ(reader.MainEntries()[0].tag, 0x0112);
    EXPECT_EQ(reader.ThumbnailIFDOffset(), 0u);  // the link lies past the end
}

TEST(MalformedExif, LoopOfIfdLinksIsFollowedOnce) {
    const bool le = true;
    Bytes bytes = test::BuildTiff(le, {{0x0112, 3, 1, test::Short(3, le)}});
    // IFD0's next link (after its one entry) points back at IFD0.
    bytes[8 + 2 + 12] = 8;
    CExifReader reader = ReadBytes(JpegWithTiff(bytes));
    EXPECT_EQ(reader.ThumbnailIFDOffset(), 8u);
    ASSERT_EQ(reader.ThumbnailEntries().size(), 1u);
    EXPECT_EQ(reader.ThumbnailEntries()[0].tag, 0x0112);
}

TEST(MalformedExif, SubIfdPointerAtIfd0ReadsIfd0Once) {
    const bool le = false;
    Bytes bytes = test::BuildTiff(le, {{0x010F, 2, 6, test::Ascii("Maker")}}, {{0xA002, 4, 1, test::Long(9, le)}});
    // IFD0's second entry is 0x8769; its value (bytes 8+2+12+8..) becomes 8, IFD0 itself.
    const size_t field = 8 + 2 + 12 + 8;
    bytes[field] = bytes[field + 1] = bytes[field + 2] = 0;
    bytes[field + 3] = 8;
    const CExifReader reader = ReadBytes(JpegWithTiff(bytes));
    EXPECT_TRUE(reader.m_bSubIFD);
    ASSERT_EQ(reader.SubEntries().size(), reader.MainEntries().size());
    EXPECT_EQ(reader.SubEntries()[0].tag, 0x010F);
}

TEST(MalformedExif, IfdOffsetsInsideTheHeaderOrPastTheEndGiveEmptyLists) {
    const bool le = true;
    for (const uint32_t offset : {0u, 4u, 7u, 1000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(offset);
        Bytes bytes = test::BuildTiff(le, {{0x8769, 4, 1, test::Long(offset, le)}});
        CExifReader reader = ReadBytes(JpegWithTiff(bytes));
        EXPECT_TRUE(reader.m_bSubIFD);
        EXPECT_EQ(reader.ReadSubIFD(), 0);
        EXPECT_TRUE(reader.SubEntries().empty());
        // IFD0 itself at that offset.
        bytes[4] = static_cast<uint8_t>(offset);
        bytes[5] = static_cast<uint8_t>(offset >> 8);
        bytes[6] = static_cast<uint8_t>(offset >> 16);
        bytes[7] = static_cast<uint8_t>(offset >> 24);
        reader = ReadBytes(JpegWithTiff(bytes));
        EXPECT_EQ(reader.ReadMainIFD(), 0);
        EXPECT_TRUE(reader.MainEntries().empty());
    }
}

struct CheckCase {
    const char* what;
    Bytes file;
    int expected;
};

TEST(MalformedExif, CheckJpegResults) {
    const Bytes jpeg = test::EncodeTestJpeg(8, 8);
    const Bytes tiff = test::BuildTiff(true, {{0x0112, 3, 1, test::Short(1, true)}});
    Bytes bad_order = tiff;
    bad_order[0] = bad_order[1] = 'X';
    const Bytes exif = test::ExifSegment(tiff);
    Bytes fill = test::JpegWithSegments({{0xFF}, exif}, jpeg);  // a fill byte before the APP1 marker
    Bytes after_image = jpeg;
    after_image.insert(after_image.end(), exif.begin(), exif.end());
    const CheckCase cases[] = {
        {"empty", {}, 0},
        {"one byte", {0xFF}, 0},
        {"0xFF then not SOI", {0xFF, 0x00, 0xFF, 0xE1}, 0},
        {"SOI only", {0xFF, 0xD8}, 1},
        {"encoder JPEG without Exif", jpeg, 1},
        {"Exif after SOI", test::JpegWithSegments({exif}, jpeg), 3},
        {"Exif behind XMP",
         test::JpegWithSegments({test::Segment(0xE1, test::Ascii("http://ns.adobe.com/xap/1.0/")), exif}, jpeg), 3},
        {"Exif with a byte order other than II/MM", test::JpegWithSegments({test::ExifSegment(bad_order)}, jpeg), 1},
        {"Exif too short for a TIFF header",
         test::JpegWithSegments({test::Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0, 'I', 'I'})}, jpeg), 1},
        {"Exif after the image data", after_image, 1},
        {"fill bytes before the marker", fill, 3},
        {"length field past the end", {0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00, 'E', 'x', 'i', 'f', 0, 0}, 1},
        {"length field below 2", {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 'E', 'x', 'i', 'f', 0, 0}, 1},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        CExifReader reader;
        reader.SetFileBytes(c.file);
        EXPECT_EQ(reader.CheckJpeg(), c.expected);
    }
}

TEST(MalformedExif, MissingFileIsNotAJpeg) {
    CExifReader reader;
    reader.SetFileName("/nonexistent/pelimon/missing.jpg");
    EXPECT_EQ(reader.CheckJpeg(), 0);
    EXPECT_EQ(reader.ReadMainIFD(), 0);
}

TEST(MalformedExif, NothingOfThePreviousFileSurvives) {
    CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileName(test::CameraFile("ii-app1-interop-thumb-long-minolta.jpg").string());
    ReadEverything(reader);
    ASSERT_FALSE(reader.SubEntries().empty());
    ASSERT_TRUE(reader.m_bInterop);
    // A file whose IFD0 has no sub-IFD pointer.
    const Bytes second = JpegWithTiff(test::BuildTiff(false, {{0x0112, 3, 1, test::Short(1, false)}}));
    reader.SetFileBytes(second);
    ReadEverything(reader);
    EXPECT_FALSE(reader.m_bSubIFD);
    EXPECT_FALSE(reader.m_bInterop);
    EXPECT_FALSE(reader.m_bLittleEndian);
    EXPECT_EQ(reader.m_nSpeed, 0u);
    EXPECT_TRUE(reader.SubEntries().empty());
    EXPECT_TRUE(reader.InteropEntries().empty());
    EXPECT_EQ(reader.ReadSubIFD(), 0);
}

}  // namespace
}  // namespace pelimon
