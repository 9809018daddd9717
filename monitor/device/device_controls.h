// The controls and windows of the device subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "link/core.h"
#include "link/operator_event.h"

namespace treld {

void declareDeviceElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onDeviceEvent(Core& c, const OperatorEvent& event);

}  // namespace treld
