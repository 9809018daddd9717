// OPTIONS: the poll cycle of the "User options" tab.
#pragma once

#include "link/core.h"

namespace treld {

void OPTIONS(Core& c);

}  // namespace treld
