// SASAYIKLA: decodes the device's status record in Reply.
#pragma once

#include "foundation/core.h"

namespace treld {

void SASAYIKLA(Core& c);

// The main window's title: the login state of the last status, or, while the
// link is lost, since when no data came; "Logout" is offered while a login is.
void showTitle(Core& c);

}  // namespace treld
