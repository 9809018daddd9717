#include "support/fake_platform.h"

#include <chrono>

namespace treld::testing {

LocalDateTime FakePlatform::now() {
    using namespace std::chrono;
    const LocalDateTime& base = wallClockAtStart;
    const sys_seconds at = sys_days{year_month_day{year{base.year}, month{unsigned(base.month)},
                                                   day{unsigned(base.day)}}} +
                           hours{base.hour} + minutes{base.minute} +
                           seconds{base.second + nowMs / 1000 + clockOffsetSeconds};
    const sys_days atDay = floor<days>(at);
    const year_month_day date{atDay};
    const hh_mm_ss time{at - atDay};
    LocalDateTime result{
        int(date.year()),          int(unsigned(date.month())), int(unsigned(date.day())),
        int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", result.day, result.month, result.year);
    result.shortDate = text;
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", result.hour, result.minute, result.second);
    result.longTime = text;
    return result;
}

}  // namespace treld::testing
