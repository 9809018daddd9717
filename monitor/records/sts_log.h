// LOGS: downloads the device's event log on the "Log event" tab, one "LOG"
// request and its record every two poll ticks, into List1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/poll_timer.h"
#include "records/records_core.h"

namespace treld {

inline constexpr Int16 kStsLogRecords = 128;

// The text of one list row after "<n>-": "Empty log record", or the date
// and time of the record followed by its event and condition texts.
std::string stsLogRowText(std::string_view record);
// A record's date and time on the device's clock (wallSeconds), and its event
// code (0: the alarm conditions changed); nothing for an empty record.
std::optional<std::int64_t> stsLogRecordTime(std::string_view record);
int stsLogRecordEvent(std::string_view record);

// Takes the outcome of the last exchange and returns what goes out next.
PollNext LOGS(RecordsCore& c);

// Entering the tab: an empty list and a download from record 0.
void restartStsLogDownload(RecordsCore& c);

// "Refresh STS Logs": an empty list, and the download starts again from
// record 0 at the next tick; a reply still awaited is discarded.
void refreshStsLogs(RecordsCore& c);

}  // namespace treld
