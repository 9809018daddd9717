// What the links saw of the device lately. The link layer keeps it; the link
// watch (status/link_watch.cpp) turns it into "Link lost" and "Link restored".
#pragma once

#include "foundation/numeric.h"

namespace treld {

// Exchanges in a row without a reply that make a lost link: with a dead line
// the cycle alternates SRV and OPL, so both have gone unanswered.
inline constexpr Int16 kUnansweredForLoss = 2;

struct LinkHealth {
    Int16 openPort = 0;    // the serial port open now; 0: none
    Int16 unanswered = 0;  // exchanges timed out since the last reply
    bool lost = false;     // "Link lost" is written; a reply brings "Link restored"
    Int16 lostTicks = 0;   // ReopenTimer ticks (5 s each) since the loss
    // The PC's clock when the device was last heard (or the monitor started):
    // the stale windows say "No data since" it.
    int heardHour = -1;
    int heardMinute = 0;
    bool staleShown = false;  // the windows show the device's state as stale
};

}  // namespace treld
