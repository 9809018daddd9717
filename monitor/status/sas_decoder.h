// SASAYIKLA: decodes the device's status record in Reply.
#pragma once

#include "foundation/core.h"

namespace treld {

void SASAYIKLA(Core& c);

}  // namespace treld
