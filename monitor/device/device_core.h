// The device layer's state: the option editor, the login, and the command
// the operator is being asked to confirm.
#pragma once

#include <string>

#include "device/device_state.h"
#include "status/status_core.h"

namespace treld {

struct DeviceCore : StatusCore {
    using StatusCore::StatusCore;

    OptionsState options;
    LoginState login;
    // The device command the operator is being asked to confirm; empty: none.
    std::string commandAsked;
    std::string commandAskedName;  // how the status line names its reply
};

}  // namespace treld
