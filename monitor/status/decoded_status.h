// The device status as last decoded from a valid "SAS" reply.
#pragma once

#include <array>
#include <string>

#include "foundation/numeric.h"

namespace treld {

struct DecodedStatus {
    std::array<Int16, 32> StatusFlags{};  // by Alarms-window lamp number; 7 and 15 unused
    Int16 Source1InputOff = 0;
    Int16 Source2InputOff = 0;
    Int16 Source1BypassOn = 0;
    Int16 Source2BypassOn = 0;
    Int16 OutputSwitchOff = 0;
    double Source1Bad = 0;
    double Source2Bad = 0;
    Int16 SourceIndicator = 0;
    Int16 PathCode = 0;
    Int16 ServiceLoginActive = 0;
    Int16 UserLoginActive = 0;
    Int16 SoundOff = 0;
    std::string CurrentStatus;  // first 36 characters, for alarm detection
    std::string PreviousStatus;

    bool operator==(const DecodedStatus&) const = default;
    bool loggedIn() const { return ServiceLoginActive != 0 || UserLoginActive != 0; }
};

}  // namespace treld
