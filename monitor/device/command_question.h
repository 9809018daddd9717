// Every command that acts on the device from the Control tab
// is asked about first: Yes queues it, No (the default) queues nothing.
#pragma once

#include <string_view>

#include "device/device_core.h"

namespace treld {

// The name the answer comes back under (Monitor::answer).
inline constexpr std::string_view kCommandQuestion = "CommandQuestion";

// Asks whether to send `command`; `question` names it as the operator knows
// it, and so does `name` its reply in the status line (empty: the command
// itself). A question still open is replaced.
void askBeforeQueueing(DeviceCore& c, std::string command, std::string question,
                       std::string name = {});

// Yes queues the command asked about; No forgets it.
void onCommandAnswer(DeviceCore& c, bool yes);

}  // namespace treld
