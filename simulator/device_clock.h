#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace sts {

// Monotonic milliseconds since the simulator started; every part of the model runs on it.
using Millis = std::int64_t;

struct ClockReading {
    int year = 2000;  // four digits
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The device's real-time clock: set from the local time at start, runs with the monotonic time
// and can be set by the operator ("ACL" hh:mm, "AD" ddmmyy).
class DeviceClock {
  public:
    DeviceClock(ClockReading start, Millis now);

    ClockReading read(Millis now) const;
    std::string timeText(Millis now) const;  // hh:mm:ss
    std::string dateText(Millis now) const;  // dd/mm/yy

    // Both take the command argument and return false (changing nothing) when it is malformed.
    bool setTime(std::string_view hhColonMm, Millis now);
    bool setDate(std::string_view ddmmyy, Millis now);

  private:
    std::chrono::sys_seconds at(Millis now) const;
    void setTo(std::chrono::sys_seconds wanted, Millis now);

    std::chrono::sys_seconds start_;
    Millis startMillis_;
};

// Reads exactly text.size() decimal digits; -1 when any character is not a digit.
int parseDigits(std::string_view text);

}  // namespace sts
