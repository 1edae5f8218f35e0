// The Exif of TIFF files through the program's reader, as the Exif dialog and the batch see it:
// found through IFD0, with its Exif and GPS IFDs and the shooting date.
#include <gtest/gtest.h>

#include <string>

#include "exif/exif_reader.h"
#include "exif/source_metadata.h"
#include "tests/support/test_files.h"

namespace pelimon {
namespace {

std::string TiffPath(const std::string& name) {
    return std::string(PELIMON_TEST_DATA_DIR) + "/tiff/" + name;
}

TEST(TiffExif, TheReaderFindsTheExifOfTiffFiles) {
    const struct {
        const char* name;
        bool gps;
        const char* shot_date;  // nullptr: not compared
    } kCases[] = {
        {"lt_dscf0013.tif", false, "2004/11/10 00:00:31"},  // a camera's TIFF
        {"ltt_custom_dir_EXIF_GPS.tiff", true, nullptr},    // a date of year 0: the preparation time
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CExifReader reader;
        reader.LoadTagTable();
        reader.SetFileName(TiffPath(c.name));
        ASSERT_EQ(reader.CheckJpeg(), 3);
        EXPECT_EQ(reader.ReadMainIFD(), 1);
        EXPECT_TRUE(reader.m_bSubIFD);
        EXPECT_EQ(reader.ReadSubIFD(), 1);
        EXPECT_FALSE(reader.SubEntries().empty());
        EXPECT_EQ(reader.GpsIFDOffset() != 0, c.gps);
        if (c.shot_date != nullptr) {
            EXPECT_EQ(ReadSourceMetadata(test::ReadBytes(TiffPath(c.name)), 0).ShotDate, c.shot_date);
        }
    }
}

}  // namespace
}  // namespace pelimon
