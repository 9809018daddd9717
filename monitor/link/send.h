// GONDERME: sends `Command` over the link in use (demo table, TCP or serial).
#pragma once

#include "foundation/core.h"

namespace treld {

// Forgets any earlier reply, sends Command for `owner`, whose exchange it
// opens, and gives Timer1 the reply time-out (10 ms in demo mode, where the
// answer is at hand). A send of the cycle adds 1 to PollStep.
void GONDERME(Core& c, ExchangeOwner owner = ExchangeOwner::Cycle);

// The send indicator's first character alternates on every send.
std::string_view nextSendMark(const Element& indicator);

}  // namespace treld
