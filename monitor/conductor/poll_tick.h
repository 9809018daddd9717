// The poll timer Timer1: every tick either sends the next command or
// evaluates the reply to the last one, for the tab the operator has open.
#pragma once

#include "foundation/core.h"

namespace treld {

void Timer1_Timer(Core& c);

}  // namespace treld
