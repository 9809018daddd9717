// KONTROL: the poll cycle of the "Control" tab.
#pragma once

#include "link/core.h"

namespace treld {

void KONTROL(Core& c);

}  // namespace treld
