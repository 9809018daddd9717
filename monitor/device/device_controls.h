// The controls and windows of the device subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include <string>
#include <string_view>

#include "foundation/core.h"
#include "foundation/operator_event.h"

namespace treld {

void declareDeviceElements(DisplayModel& ui);

// The name of element `index` of a control array: "Combo1_5".
std::string arrayElement(std::string_view array, int index);

// Returns true when the event belonged to this subsystem.
bool onDeviceEvent(Core& c, const OperatorEvent& event);

}  // namespace treld
