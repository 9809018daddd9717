// Login dialog sequence and the login keep-alive.
#pragma once

#include "link/core.h"

namespace treld {

// Timer2: repeats the login every 20 s while the device reports one.
void Timer2_Timer(Core& c);

// The login dialog's own 500 ms timer.
void LoginTimer_Timer(Core& c);

}  // namespace treld
