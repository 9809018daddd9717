// The controls and windows of the records subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "foundation/core.h"
#include "foundation/operator_event.h"

namespace treld {

void declareRecordsElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onRecordsEvent(Core& c, const OperatorEvent& event);

}  // namespace treld
