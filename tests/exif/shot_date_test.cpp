// Shooting dates: parsing, and setting an output's modification time from them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "exif/shot_date.h"
#include "exif/source_metadata.h"
#include "exif_test_files.h"
#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

struct FileTimes {
    timespec access;
    timespec modification;
};

FileTimes TimesOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return {status.st_atim, status.st_mtim};
}

// A file with known access and modification times.
std::string MakeFile(const test::TempFolder& dir) {
    const std::string path = dir / "out.jpg";
    std::ofstream(path) << "jpeg";
    const timespec times[2] = {{1000000000, 0}, {1100000000, 0}};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return path;
}

TEST(ShotDate, SetsModificationTimeAndKeepsAccessTime) {
    test::TempFolder dir;
    const std::string path = MakeFile(dir);
    ASSERT_TRUE(ApplyShotDate(path, "2007/05/02 14:03:09").ok());
    const FileTimes times = TimesOf(path);
    EXPECT_EQ(times.modification.tv_sec, LocalTime(2007, 5, 2, 14, 3, 9));
    EXPECT_EQ(times.modification.tv_nsec, 0);
    EXPECT_EQ(times.access.tv_sec, 1000000000);
}

TEST(ShotDate, InvalidDatesLeaveTheFileAlone) {
    const char* const dates[] = {
        "0",
        "",
        "2007/05/02",
        "2007/13/02 14:03:09",
        "2007/00/02 14:03:09",
        "2007/05/32 14:03:09",
        "2007/05/02 24:03:09",
        "2007/05/02 14:60:09",
        "2007/05/02 14:03:60",
        "1899/12/31 23:59:59",
        "2007/02/31 10:00:00",
        "2007/04/31 10:00:00",
        "    /  /     :  :  ",
    };
    test::TempFolder dir;
    const std::string path = MakeFile(dir);
    for (const char* date : dates) {
        SCOPED_TRACE(date);
        EXPECT_TRUE(ApplyShotDate(path, date).ok());
        EXPECT_EQ(TimesOf(path).modification.tv_sec, 1100000000);
    }
}

TEST(ShotDate, MissingFileIsReported) {
    test::TempFolder dir;
    const Status status = ApplyShotDate(dir / "missing.jpg", "2007/05/02 14:03:09");
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().path.find("missing.jpg"), std::string::npos);
}

TEST(ShotDate, YearZeroAndBlankDatesBecomeNow) {
    const std::time_t now = 1234567890;
    const char* const stored[] = {"0000:00:00 00:00:00", "    :  :     :  :  "};
    const test::Bytes jpeg = test::EncodeTestJpeg(8, 8);
    for (const char* date : stored) {
        SCOPED_TRACE(date);
        const test::Bytes tiff = test::BuildTiff(true, {}, {{0x9003, 2, 20, test::Ascii(date)}});
        const SourceMetadata metadata =
            ReadSourceMetadata(test::JpegWithSegments({test::ExifSegment(tiff)}, jpeg), now);
        EXPECT_EQ(ShotDateToTime(metadata.ShotDate), now);
    }
}

TEST(ShotDate, ExifWithoutDateKeepsZero) {
    const test::Bytes tiff = test::BuildTiff(true, {}, {{0xA002, 4, 1, test::Long(8, true)}});
    const SourceMetadata metadata =
        ReadSourceMetadata(test::JpegWithSegments({test::ExifSegment(tiff)}, test::EncodeTestJpeg(8, 8)), 1);
    EXPECT_GT(metadata.ExifLength, 0);
    EXPECT_EQ(metadata.ShotDate, "0");
}

}  // namespace
}  // namespace pelimon
