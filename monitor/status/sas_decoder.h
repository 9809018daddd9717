// SASAYIKLA: decodes the device's status record in Reply.
#pragma once

#include "status/status_core.h"

namespace treld {

void SASAYIKLA(StatusCore& c);

// The main window's title: the login state of the last status, or, while the
// link is lost, since when no data came; "Logout" is offered while a login is.
void showTitle(StatusCore& c);

}  // namespace treld
