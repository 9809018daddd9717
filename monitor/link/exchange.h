// What every poll cycle does with an exchange's outcome: who may take it, the
// time-out and data-error reports, the relay cache of the latest replies, and
// the clock and date commands that Synchronize sends.
#pragma once

#include "foundation/core.h"

namespace treld {

// A command is on the line whose reply (or time-out) nobody has taken yet.
// Every Timer1 tick while one is open is its outcome: the receivers restart
// the timer when the reply is complete, each send sets it to the wait.
bool exchangeOpen(const Core& c);
void closeExchange(Core& c);

// The reply did not come: says why in the status line and waits 3 s.
void timeover(Core& c);

// Counts an exchange that went unanswered, towards a lost link.
void countTimeOut(Core& c);

// Reply holds a complete reply to Command: it keeps the link up, or counts
// as unanswered when it fails its format test (a noisy line or a wrong baud
// rate is a lost link, not a healthy one).
void countReply(Core& c);

// The reply of CheckedCommand failed its format test.
void datahata(Core& c);

// The relay cache: keep or forget the latest reply to Command.
void GELENBAFIRKOY(Core& c);
void GELENBAFIRSIFIR(Core& c);
// The link is lost: relay clients get "Time out" rather than old values.
void forgetCachedReplies(Core& c);

// "ACL" + hh:mm + CR and "AD" + ddmmyy + CR from the PC clock.
std::string clockCommand(const LocalDateTime& now);
std::string dateCommand(const LocalDateTime& now);

}  // namespace treld
