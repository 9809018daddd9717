#include "foundation/iso_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

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

// Exactly `width` digits at `from`; -1 otherwise.
int digitsAt(std::string_view text, std::size_t from, std::size_t width) {
    int value = 0;
    for (std::size_t i = from; i < from + width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
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
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    const int offsetHours = digitsAt(text, 20, 2);
    const int offsetMinutes = digitsAt(text, 23, 2);
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

}  // namespace treld
