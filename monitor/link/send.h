// GONDERME: sends `Command` over the link in use (demo table, TCP or serial).
#pragma once

#include "foundation/core.h"

namespace treld {

// Adds 1 to PollStep, forgets any earlier reply, sends Command and gives
// Timer1 the reply time-out (10 ms in demo mode, where the answer is at hand).
void GONDERME(Core& c);

// The send indicator's first character alternates on every send.
std::string_view nextSendMark(const Element& indicator);

}  // namespace treld
