// What every poll cycle does with an exchange's outcome: who may take it, the
// time-out and data-error reports, the relay cache of the latest replies, and
// the clock and date commands that Synchronize sends.
#pragma once

#include "link/link_core.h"

namespace treld {

// The reply did not come: says why in the status line (by the transport's
// time-out kind), counts it towards a lost link and returns the poll
// timer's wait, 3 s.
int timeover(LinkCore& c);

// The reply of CheckedCommand failed its format test.
void datahata(LinkCore& c);

// The relay cache: keep or forget the latest reply to the line's command.
void GELENBAFIRKOY(LinkCore& c);
void GELENBAFIRSIFIR(LinkCore& c);
// The link is lost: relay clients get "Time out" rather than old values.
void forgetCachedReplies(LinkCore& c);

// "ACL" + hh:mm + CR and "AD" + ddmmyy + CR from the PC clock.
std::string clockCommand(const LocalDateTime& now);
std::string dateCommand(const LocalDateTime& now);

}  // namespace treld
