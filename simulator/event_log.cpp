#include "event_log.h"

#include <cstdio>

namespace sts {

void EventLog::add(LogEvent event, ConditionGroups groups, const ClockReading& when) {
    newest_ = (newest_ + kSize - 1) % kSize;
    entries_[newest_] = Entry{event, groups, when};
}

std::optional<std::string> EventLog::record(std::size_t number) const {
    if (number >= kSize) {
        return std::nullopt;
    }
    const Entry& e = entries_[(newest_ + number) % kSize];
    char text[48];
    std::snprintf(text, sizeof text, "$%03d %03d %03d %03d %03d %03d %03d %03d %03d\r",
                  static_cast<int>(e.event), e.groups.a % 1000, e.groups.b % 1000,
                  e.groups.c % 1000, e.when.hour, e.when.minute, e.when.day, e.when.month,
                  e.when.year % 100);
    return text;
}

}  // namespace sts
