#include "foundation/iso_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "foundation/numeric.h"

namespace treld {
namespace {

using std::chrono::days;
using std::chrono::floor;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

struct Civil {
    std::chrono::year_month_day date;
    std::chrono::hh_mm_ss<seconds> time;
};

Civil civil(std::int64_t localSeconds) {
    const sys_seconds at{seconds{localSeconds}};
    const sys_days day = floor<days>(at);
    return {std::chrono::year_month_day{day}, std::chrono::hh_mm_ss<seconds>{at - day}};
}

}  // namespace

std::string isoLocalTime(std::int64_t at, int utcOffsetSeconds) {
    const Civil local = civil(at + utcOffsetSeconds);
    const int offsetMinutes = std::abs(utcOffsetSeconds) / 60;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d%c%02d:%02d",
                  int(local.date.year()), unsigned(local.date.month()), unsigned(local.date.day()),
                  int(local.time.hours().count()), int(local.time.minutes().count()),
                  int(local.time.seconds().count()), utcOffsetSeconds < 0 ? '-' : '+',
                  offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

std::optional<std::int64_t> parseIsoLocalTime(std::string_view text) {
    // yyyy-mm-ddThh:mm:ss+hh:mm
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || (text[19] != '+' && text[19] != '-') ||
        text[22] != ':')
        return std::nullopt;
    const int year = fixedDigits(text, 0, 4);
    const int month = fixedDigits(text, 5, 2);
    const int day = fixedDigits(text, 8, 2);
    const int hour = fixedDigits(text, 11, 2);
    const int minute = fixedDigits(text, 14, 2);
    const int second = fixedDigits(text, 17, 2);
    const int offsetHours = fixedDigits(text, 20, 2);
    const int offsetMinutes = fixedDigits(text, 23, 2);
    const std::optional<std::int64_t> local = wallSeconds(year, month, day, hour, minute, second);
    if (!local || offsetHours < 0 || offsetHours > 18 || offsetMinutes < 0 || offsetMinutes > 59)
        return std::nullopt;
    const int offset = (text[19] == '-' ? -1 : 1) * (offsetHours * 3600 + offsetMinutes * 60);
    return *local - offset;
}

std::optional<std::int64_t> wallSeconds(int year, int month, int day, int hour, int minute,
                                        int second) {
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{unsigned(month)},
                                           std::chrono::day{unsigned(day)}};
    if (year < 0 || month < 1 || day < 1 || !date.ok() || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const sys_seconds local =
        sys_days{date} + std::chrono::hours{hour} + std::chrono::minutes{minute} + seconds{second};
    return local.time_since_epoch().count();
}

LocalDateTime dateTimeAt(std::int64_t wall, int utcOffsetSeconds) {
    const Civil at = civil(wall);
    LocalDateTime t;
    t.year = int(at.date.year());
    t.month = int(unsigned(at.date.month()));
    t.day = int(unsigned(at.date.day()));
    t.hour = int(at.time.hours().count());
    t.minute = int(at.time.minutes().count());
    t.second = int(at.time.seconds().count());
    t.utcOffsetSeconds = utcOffsetSeconds;
    t.epochSeconds = wall - utcOffsetSeconds;
    return t;
}

}  // namespace treld
