// State of the option editor and the login.
#pragma once

#include <array>
#include <string>

#include "foundation/numeric.h"

namespace treld {

struct OptionsState {
    std::array<Int16, 51> OptionValues{};
    Int16 EditedOption = 0;
    Int16 EditedValue = 0;
    // The operator picked a value in a selector since start-up or since the
    // last editor load; until then "Update STS" has nothing of theirs to write.
    bool operatorChoseValue = false;
};

inline constexpr Int16 kServiceLogin = 1;
inline constexpr Int16 kUserLogin = 2;

struct LoginState {
    Int16 LoginKind = 0;  // the level of the dialog: kServiceLogin or kUserLogin
    // The password and level of the last Logon press that passed the length
    // test: what the login sequence sends and the keep-alive repeats.
    std::string LoginPassword;
    Int16 LogonKind = 0;
    Int16 LogonTicks = 0;
    // After the login the poll tick reads the status once, on any tab, and
    // the verdict waits for it.
    bool statusPollDue = false;
    // The level and password of the last login the device took from the
    // dialog: what the keep-alive goes back to after a refused one.
    Int16 acceptedKind = 0;
    std::string acceptedPassword;
    // "Logout" was chosen since the last status that showed no login.
    bool logoutAsked = false;
    // hh:mm when a login ended that the operator did not end; empty: none.
    std::string lapsedAt;
};

}  // namespace treld
