// What every poll cycle does with an exchange's outcome: the time-out and
// data-error reports, the relay cache of the latest replies, and the clock
// and date commands that Synchronize sends.
#pragma once

#include "foundation/core.h"

namespace treld {

// The reply did not come: says why in the status line and waits 3 s.
void timeover(Core& c);

// The reply of CheckedCommand failed its format test.
void datahata(Core& c);

// The relay cache: keep or forget the latest reply to Command.
void GELENBAFIRKOY(Core& c);
void GELENBAFIRSIFIR(Core& c);

// "ACL" + hh:mm + CR and "AD" + ddmmyy + CR from the PC clock.
std::string clockCommand(const LocalDateTime& now);
std::string dateCommand(const LocalDateTime& now);

}  // namespace treld
