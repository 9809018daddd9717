// The poll timer Timer1: every tick either sends the next command or
// evaluates the reply to the last one, for the tab the operator has open.
#pragma once

#include "link/core.h"

namespace treld {

// Tabs of SSTab1.
enum Tab { kMeasuresTab = 0, kOptionsTab = 1, kDemoSetTab = 2, kControlTab = 3, kLogTab = 4 };

// Measurement cycle steps that the Synchronize button jumps to.
inline constexpr Int16 kSetClockStep = 15;

void Timer1_Timer(Core& c);

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
