// SASAYIKLA: decodes the device's status record in Reply.
#pragma once

#include "foundation/core.h"

namespace treld {

// Returns false when the record failed its frame test and changed nothing.
bool SASAYIKLA(Core& c);

}  // namespace treld
