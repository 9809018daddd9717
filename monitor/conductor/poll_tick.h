// The poll timer Timer1 and its conductor: every tick either sends the next
// command or evaluates the reply to the last one, for the tab the operator
// has open. The cycles return what goes next (PollNext); this file alone sets
// PollStep and the timer's interval.
#pragma once

#include "conductor/core.h"
#include "link/poll_timer.h"

namespace treld {

void Timer1_Timer(Core& c);

// Start-up: the measurement cycle from its first step, soon.
void startPolling(Core& c);

// "Synchronize": the clock and the date go out next.
void synchronize(Core& c);

// What a cycle, the login sequence or the logout at the end returned: the
// step set, the command sent (one of the cycle adds 1 to the step), the
// wait asked of the line.
void applyPollNext(Core& c, PollNext next);

// After every event: the interval the line asked for, if any, becomes the
// poll timer's.
void applyPollWait(Core& c);

}  // namespace treld
