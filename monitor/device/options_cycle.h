// OPTIONS: the poll cycle of the "User options" tab.
#pragma once

#include "device/device_core.h"
#include "link/poll_timer.h"

namespace treld {

// Steps 100 + 2n send the read of option n, 101 + 2n evaluate it; 126 and
// 127 poll the status, after which the editor is loaded when asked for.
// Takes the outcome of the last exchange and returns what goes out next.
PollNext OPTIONS(DeviceCore& c);

}  // namespace treld
