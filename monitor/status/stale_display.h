// While the link is lost, what the windows show of the device is only what it
// last reported: the schematic, the panels, the sound state and the alarm
// lamps turn stale (grey, neither green nor red), the fields that a time-out
// leaves standing (temperature, SYNC angle, version, clock, date) are blanked,
// and the title says since when nothing came. The first reply restores it all.
#pragma once

#include "status/status_core.h"

namespace treld {

// Stale or live as `stale` says; does nothing when that is shown already.
void showLinkStale(StatusCore& c, bool stale);

}  // namespace treld
