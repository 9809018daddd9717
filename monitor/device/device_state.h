// State of the option editor and the login.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/numeric.h"

namespace treld {

struct DeviceCore;

struct OptionsState {
    Int16 OptionsRefresh = 0;  // the editors are loaded from the next read
    std::array<Int16, 51> OptionValues{};
    // By option number: the operator changed its editor since start-up or
    // the last editor load; "Update STS" sends or names each such option.
    std::array<bool, 13> edited{};
    // Option number and value of each write the open question names, and of
    // those answered Yes that the options cycle has still to send.
    std::vector<std::pair<Int16, Int16>> writesAsked;
    std::deque<std::pair<Int16, Int16>> writesDue;
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
    // The button that opened the dialog for want of a login, pressed again
    // once the login succeeds; nothing when a menu opened it.
    std::function<void(DeviceCore&)> resumeAfterLogin;
};

}  // namespace treld
