// SASAYIKLA: decodes the device's status record in Reply.
#pragma once

#include "link/core.h"

namespace treld {

void SASAYIKLA(Core& c);

}  // namespace treld
