// The "Control" tab: the operator command buttons and their poll cycle KONTROL.
#pragma once

#include <array>
#include <string_view>

#include "foundation/core.h"

namespace treld {

struct OperatorCommand {
    std::string_view caption;  // of Command2 element i
    std::string_view command;
};

inline constexpr std::array<OperatorCommand, 8> kOperatorCommands = {{
    {"Manual XFER to S1", "XF1"},
    {"Manual XFER to S2", "XF2"},
    {"Automatic XFER", "CXF"},
    {"XFER test", "TST"},
    {"Output inhibit", "INH"},
    {"Inhibit reset", "IHR"},
    {"Sound on", "SON"},
    {"Sound off", "SOF"},
}};

// Click on Command2 element i: queues its command for a logged-in operator,
// otherwise opens the user login.
void onOperatorCommandClick(Core& c, int i);

// Step 1 sends a queued command, 2 shows its answer, 3 and 4 poll the status.
void KONTROL(Core& c);

}  // namespace treld
