// The measurement panels: source voltages and frequencies, output load,
// current, temperature, SYNC angle, version, STS clock and date.
#pragma once

#include "foundation/core.h"

namespace treld {

void declareMeasurementElements(DisplayModel& ui);

// Decode the "SRV" / "OPL" reply in Reply after its format test: the panel
// shows the field texts, Core::readings gets their numbers.
void decodeSourcePanel(Core& c);
void decodeOutputPanel(Core& c);
void showVersion(Core& c);
void showStsTime(Core& c);
void showStsDate(Core& c);

// After a time-out; the readings note the lost reply.
void blankSourcePanel(Core& c);
void blankOutputPanel(Core& c);

}  // namespace treld
