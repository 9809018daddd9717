// The station list: the local STS and up to three remote ones, and the
// "Connect" button that switches between them.
#pragma once

#include "foundation/operator_event.h"
#include "link/link_core.h"

namespace treld {

inline constexpr ElementName kStationList{Form::Form1, "List3"};
inline constexpr ElementName kConnect{Form::Form1, "Command5"};
// The station's name (SNAME:) beside the list, so the operator sees which
// station this monitor stands for.
inline constexpr ElementName kStationNameLabel{Form::Form1, "StationName"};

void declareStationListElements(DisplayModel& ui);

// (Re)fills List3 from RemoteIp1..3, selects the local entry and shows the
// station's name.
void STSLIST(LinkCore& c);

// List3 entry chosen, Command5 "Connect" clicked.
bool onStationListEvent(LinkCore& c, const OperatorEvent& event);

}  // namespace treld
