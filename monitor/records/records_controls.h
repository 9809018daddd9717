// The controls and windows of the records subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "foundation/operator_event.h"
#include "records/records_core.h"

namespace treld {

// The "Log event" tab: the device's event log and its two buttons.
inline constexpr ElementName kStsLogTitle{Form::Form1, "Label54"};
inline constexpr ElementName kStsLogList{Form::Form1, "List1"};
// How far the download is: "Reading record 17 of 128", then "All 128 records read".
inline constexpr ElementName kStsLogProgress{Form::Form1, "LogProgress"};
inline constexpr ElementName kRefreshStsLogs{Form::Form1, "Command20"};
inline constexpr ElementName kPcLogs{Form::Form1, "Command4"};

void declareRecordsElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onRecordsEvent(RecordsCore& c, const OperatorEvent& event);

}  // namespace treld
