// Alarm events: every change of the status record that leaves a flag at "1"
// is logged on the PC and, on a station with its own STS, mailed.
#pragma once

#include <string>
#include <string_view>

#include "status/status_core.h"

namespace treld {

// Compares the first 36 characters of the valid status record in Reply with
// the previous ones and raises an event when they changed and hold a "1".
void detectAlarm(StatusCore& c);

// "-" and the flag's words for every position of the status that holds "1".
std::string AlarmList(std::string_view currentStatus);

// The HTML head of the alarm e-mail: the lines before the date.
std::string alarmMailHead(const StatusCore& c);

// The dated lines of one event: the rest of AlarmMailBody.
std::string alarmMailDate(StatusCore& c);

// One alarm event for CurrentStatus: a PC-log line, then the e-mail. Events
// that come while the mail program runs go out together when it ends, each
// with its date and list.
void ALARMETIKET(StatusCore& c);

}  // namespace treld
