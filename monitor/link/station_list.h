// The station list: the local STS and up to three remote ones, and the
// "Connect" button that switches between them.
#pragma once

#include "foundation/core.h"
#include "foundation/operator_event.h"

namespace treld {

void declareStationListElements(DisplayModel& ui);

// (Re)fills List3 from RemoteIp1..3 and selects the local entry.
void STSLIST(Core& c);

// List3 entry chosen, Command5 "Connect" clicked.
bool onStationListEvent(Core& c, const OperatorEvent& event);

}  // namespace treld
