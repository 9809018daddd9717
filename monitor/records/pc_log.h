// The PC event files: SERLOGS/yyyy-mm.TXT, one line appended per event.
#pragma once

#include <string>
#include <string_view>

#include "foundation/core.h"

namespace treld {

// " " + code + " " + dd-mm-yyyy--hh:mm:ss + " " + text + CR LF.
std::string pcLogLine(Int16 code, std::string_view text, const LocalDateTime& at);

// "yyyy-mm.TXT", the file of that month.
std::string pcLogFileName(const LocalDateTime& at);

// Appends the event in PcLogEventCode / PcLogEventText to the file of the
// current month, creating SERLOGS when it is missing. The file is opened,
// appended to and closed for each line, so the calendar may read or delete
// it in between. A line that cannot be written is said once in the status
// line (until a line gets through again); it never stops the caller.
void WritePcLog(Core& c);

// "PC Logs" and "Event calender": the calendar program, without waiting;
// a failure to start it is not reported.
void startCalendar(Core& c);

}  // namespace treld
