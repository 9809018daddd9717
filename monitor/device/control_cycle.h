// The "Control" tab: the operator command buttons and their poll cycle KONTROL.
#pragma once

#include <array>
#include <string_view>

#include "device/device_core.h"
#include "link/poll_timer.h"

namespace treld {

struct OperatorCommand {
    std::string_view caption;  // of Command2 element i
    std::string_view command;
    std::string_view explanation;  // shown beside the button; empty: none
};

inline constexpr std::array<OperatorCommand, 8> kOperatorCommands = {{
    {"Manual XFER to S1", "XF1", "XFER the load to source 1 input manually"},
    {"Manual XFER to S2", "XF2", "XFER the load to source 2 input manually"},
    {"Automatic XFER", "CXF", ""},
    {"XFER test", "TST", "XFER to alternate and retransfer to preferred"},
    {"Output inhibit", "INH", "SHUTDOWN the output voltage"},
    {"Inhibit reset", "IHR", "Restore the output voltage"},
    {"Sound on", "SON", ""},
    {"Sound off", "SOF", ""},
}};

// Click on Command2 element i: asks a logged-in operator whether to send its
// command, otherwise opens the user login.
void onOperatorCommandClick(DeviceCore& c, int i);

// Step 1 sends a queued command, 2 shows its answer, 3 and 4 poll the status.
// Takes the outcome of the last exchange and returns what goes out next.
PollNext KONTROL(DeviceCore& c);

}  // namespace treld
