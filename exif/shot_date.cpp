#include "exif/shot_date.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "common/text.h"
#include "exif/exif_texts.h"
#include "exif/source_metadata.h"

namespace pelimon {
namespace {

// The two characters that end at `end` (exclusive); empty when there are not two.
std::string_view TwoBefore(std::string_view text, size_t end) {
    return end >= 2 ? text.substr(end - 2, 2) : std::string_view();
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

std::string FormatShotDate(std::time_t time) {
    std::tm local{};
    char buffer[64] = {};
    if (localtime_r(&time, &local) == nullptr ||
        std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &local) == 0) {
        return "0";
    }
    return buffer;
}

std::optional<std::time_t> ShotDateToTime(std::string_view text) {
    const size_t slash1 = text.find('/');
    const size_t slash2 = slash1 == std::string_view::npos ? slash1 : text.find('/', slash1 + 1);
    const size_t colon1 = slash2 == std::string_view::npos ? slash2 : text.find(':', slash2 + 1);
    const size_t colon2 = colon1 == std::string_view::npos ? colon1 : text.find(':', colon1 + 1);
    if (colon2 == std::string_view::npos) {
        return std::nullopt;
    }
    const int year = LeadingInt(text.substr(0, slash1));
    const int month = LeadingInt(TwoBefore(text, slash2));
    const int day = LeadingInt(text.substr(slash2 + 1, 2));
    const int hour = LeadingInt(TwoBefore(text, colon1));
    const int minute = LeadingInt(TwoBefore(text, colon2));
    const int second = LeadingInt(text.substr(colon2 + 1, 2));
    if (!InRange(year, 1900, 9999) || !InRange(month, 1, 12) || !InRange(day, 1, 31) || !InRange(hour, 0, 23) ||
        !InRange(minute, 0, 59) || !InRange(second, 0, 59)) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    // mktime moves a day that its month lacks into the next month; such a date is not real.
    if (time == static_cast<std::time_t>(-1) || local.tm_mday != day || local.tm_mon != month - 1) {
        return std::nullopt;
    }
    return time;
}

Status ApplyShotDate(const std::string& path, std::string_view shot_date) {
    const std::optional<std::time_t> time = ShotDateToTime(shot_date);
    if (!time) {
        return {};
    }
    timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;  // the access time stays as it is
    times[1].tv_sec = *time;
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        const int error = errno;
        return Error{exif_texts::kShotDateNotApplied + std::system_category().message(error), path};
    }
    return {};
}

}  // namespace pelimon
