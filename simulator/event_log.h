#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "device_clock.h"

namespace sts {

// Event codes of the device's log.
enum class LogEvent {
    Conditions = 0,  // the alarm conditions changed; the groups say which
    ServiceLogin = 1,
    OnSource1 = 3,
    OnSource2 = 4,
    Reset = 5,
    Empty = 6,
    OutputShutdown = 7,
    UserLogin = 8,
    BypassToS1 = 9,
    BypassToS2 = 10,
};

// The three condition groups stored with every record, one bit per condition.
struct ConditionGroups {
    int a = 0;
    int b = 0;
    int c = 0;
    bool operator==(const ConditionGroups&) const = default;
};

// The device's event memory: 128 records, record 0 the newest. When full, the oldest record is
// overwritten. Records never written read as empty records.
class EventLog {
  public:
    static constexpr std::size_t kSize = 128;

    void add(LogEvent event, ConditionGroups groups, const ClockReading& when);

    // "$" + event code + groups A, B, C + hour minute day month year, three digits each,
    // separated by blanks, ended by CR; nothing for a record number outside 0..127.
    std::optional<std::string> record(std::size_t number) const;

  private:
    struct Entry {
        LogEvent event = LogEvent::Empty;
        ConditionGroups groups{6, 0, 0};
        ClockReading when{2000, 0, 0, 0, 0, 0};
    };
    std::array<Entry, kSize> entries_{};
    std::size_t newest_ = 0;  // index of record 0 in entries_
};

}  // namespace sts
