// State of the option editor and the login.
#pragma once

#include <array>
#include <string>

#include "link/numeric.h"

namespace treld {

struct OptionsState {
    std::array<Int16, 51> OptionValues{};
    Int16 EditedOption = 0;
    Int16 EditedValue = 0;
};

struct LoginState {
    Int16 LoginKind = 0;  // 1 service, 2 user
    std::string LoginPassword;
    Int16 LogonTicks = 0;
};

}  // namespace treld
