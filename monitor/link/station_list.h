// The station list: the local STS and up to three remote ones.
#pragma once

#include "link/core.h"

namespace treld {

// (Re)fills List3 from RemoteIp1..3 and selects the local entry.
void STSLIST(Core& c);

}  // namespace treld
