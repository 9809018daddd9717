// The controls and windows of the status subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "foundation/core.h"
#include "foundation/operator_event.h"

namespace treld {

void declareStatusElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onStatusEvent(Core& c, const OperatorEvent& event);

}  // namespace treld
