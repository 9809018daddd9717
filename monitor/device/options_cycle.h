// OPTIONS: the poll cycle of the "User options" tab.
#pragma once

#include "link/core.h"

namespace treld {

void OPTIONS(Core& c);

}  // namespace treld

namespace treld {

// Start-up: fills the option selectors with their value texts.
void ekranla(Core& c);

}  // namespace treld
