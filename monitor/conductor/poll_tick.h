// The poll timer Timer1: every tick either sends the next command or
// evaluates the reply to the last one, for the tab the operator has open.
#pragma once

#include "foundation/core.h"

namespace treld {

// Measurement cycle steps that the Synchronize button jumps to.
inline constexpr Int16 kSetClockStep = 15;

void Timer1_Timer(Core& c);

}  // namespace treld
