#include "device_clock.h"

#include <cstdio>

namespace sts {

using namespace std::chrono;

namespace {

sys_seconds toSeconds(const ClockReading& r) {
    const sys_days day = year_month_day{year{r.year}, month{static_cast<unsigned>(r.month)},
                                        std::chrono::day{static_cast<unsigned>(r.day)}};
    return day + hours{r.hour} + minutes{r.minute} + seconds{r.second};
}

}  // namespace

int parseDigits(std::string_view text) {
    if (text.empty()) {
        return -1;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

DeviceClock::DeviceClock(ClockReading start, Millis now)
    : start_(toSeconds(start)), startMillis_(now) {}

sys_seconds DeviceClock::at(Millis now) const {
    return start_ + seconds{(now - startMillis_) / 1000};
}

void DeviceClock::setTo(sys_seconds wanted, Millis now) {
    start_ = wanted - seconds{(now - startMillis_) / 1000};
}

ClockReading DeviceClock::read(Millis now) const {
    const sys_seconds t = at(now);
    const sys_days day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss hms{t - day};
    return ClockReading{static_cast<int>(ymd.year()),
                        static_cast<int>(static_cast<unsigned>(ymd.month())),
                        static_cast<int>(static_cast<unsigned>(ymd.day())),
                        static_cast<int>(hms.hours().count()),
                        static_cast<int>(hms.minutes().count()),
                        static_cast<int>(hms.seconds().count())};
}

std::string DeviceClock::timeText(Millis now) const {
    const ClockReading r = read(now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", r.hour, r.minute, r.second);
    return text;
}

std::string DeviceClock::dateText(Millis now) const {
    const ClockReading r = read(now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", r.day, r.month, r.year % 100);
    return text;
}

bool DeviceClock::setTime(std::string_view hhColonMm, Millis now) {
    if (hhColonMm.size() != 5 || hhColonMm[2] != ':') {
        return false;
    }
    const int hour = parseDigits(hhColonMm.substr(0, 2));
    const int minute = parseDigits(hhColonMm.substr(3, 2));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        return false;
    }
    ClockReading r = read(now);
    r.hour = hour;
    r.minute = minute;
    r.second = 0;
    setTo(toSeconds(r), now);
    return true;
}

bool DeviceClock::setDate(std::string_view ddmmyy, Millis now) {
    if (ddmmyy.size() != 6) {
        return false;
    }
    const int day = parseDigits(ddmmyy.substr(0, 2));
    const int month = parseDigits(ddmmyy.substr(2, 2));
    const int year = parseDigits(ddmmyy.substr(4, 2));
    if (day < 1 || month < 1 || month > 12 || year < 0) {
        return false;
    }
    const year_month_day wanted{std::chrono::year{2000 + year},
                                std::chrono::month{static_cast<unsigned>(month)},
                                std::chrono::day{static_cast<unsigned>(day)}};
    if (!wanted.ok()) {
        return false;
    }
    ClockReading r = read(now);
    r.year = 2000 + year;
    r.month = month;
    r.day = day;
    setTo(toSeconds(r), now);
    return true;
}

}  // namespace sts
