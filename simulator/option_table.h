#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sts {

// The thirteen operating options, parameter codes 32..44. Choice options hold a small value
// (0..1, or 0..3 for the two non-synchronous modes); "return delay" and "alarm hold time" are
// numbers of seconds.
class OptionTable {
  public:
    enum Index {
        PreferredSource = 0,
        Retransfer = 1,
        ReturnDelay = 2,
        OverloadInhibit = 3,
        AlarmHoldTime = 4,
        NonsyncTransferMode = 5,
        OverloadReset = 6,
        InhibitReset = 7,
        RemoteAccess = 8,
        NonsyncRetransferMode = 9,
        PhaseSequenceAlarm = 10,
        ScrFaultAlarm = 11,
        NonsyncManualMode = 12,
    };
    static constexpr int kFirstCode = 32;
    static constexpr int kCount = 13;

    int value(Index option) const { return values_[option]; }

    // "M0" + three-digit code: "#" + three-digit value + CR; nothing for an unknown code.
    std::optional<std::string> read(std::string_view command) const;

    // Argument of "W0": three-digit code then three-digit value. False, changing nothing, when
    // malformed, for an unknown code or for a value out of the option's range.
    bool write(std::string_view codeAndValue);

  private:
    static int maximum(int option);

    std::array<int, kCount> values_{0, 1, 5, 1, 10, 1, 0, 0, 1, 0, 1, 1, 0};
};

}  // namespace sts
