// Shooting dates as the batch carries them: "YYYY/MM/DD HH:MM:SS" in local time.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace pelimon {

// `time` as local time in the form "YYYY/MM/DD HH:MM:SS".
std::string FormatShotDate(std::time_t time);

// The local time that `shot_date` names, daylight saving decided by the time zone rules.
// Fields are read from their positions: the year before the first "/", the month in the two
// characters before the second "/", the day in the two after it, the hour and minute in the two
// characters before the next two ":", the second in the two after the last. std::nullopt when a
// separator is missing, a field is out of range (year 1900..9999, month 1..12, day 1..31,
// hour 0..23, minute and second 0..59) or the day does not exist in its month (31 April).
std::optional<std::time_t> ShotDateToTime(std::string_view shot_date);

}  // namespace pelimon
