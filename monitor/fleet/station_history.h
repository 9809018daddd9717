// The read API's look back: PC events from the month files and trend rows
// from the daily files between two times, as JSON. Files are read as
// streams; a missing one adds nothing, a damaged line is skipped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace treld {

struct TimeRange {
    std::int64_t from;  // seconds since 1970 UTC, both ends included
    std::int64_t to;
};

// The longest ranges asked at once: a month of events, a day of trend rows
// (8640 rows, about 1.5 MB of JSON).
inline constexpr std::int64_t kLongestEventRange = 31 * 24 * 3600;
inline constexpr std::int64_t kLongestTrendRange = 24 * 3600;

// `from` and `to` as ISO 8601 local times with their offset
// ("2026-12-05T14:05:00+01:00"); what is wrong with them otherwise.
std::variant<TimeRange, std::string> parseTimeRange(std::string_view from, std::string_view to,
                                                    std::int64_t longest);

// [{"code":..,"time":..,"text":..},...] of SERLOGS/yyyy-mm.TXT under
// `stationDir`, in file order. The files hold wall-clock times: they are
// read with the clock's present offset from UTC.
std::string eventsBetween(const std::filesystem::path& stationDir, TimeRange range,
                          int utcOffsetSeconds);

// {"columns":["time","source1_l1_voltage",..],"units":{..},"rows":[["2026-..",230,..],..]}
// of TRENDS/yyyy-mm-dd.csv; null where the link was down.
std::string trendRowsBetween(const std::filesystem::path& stationDir, TimeRange range,
                             int utcOffsetSeconds);

}  // namespace treld
