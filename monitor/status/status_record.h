// The layout of the device's status record: what each flag position means
// for the fault-text fields, the Alarms-window lamps and the alarm list.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "foundation/display_model.h"

namespace treld {

// Character positions of the record, counted from 1.
inline constexpr std::size_t kAlarmStatusLength = 36;  // "#" up to the output switch flag

inline constexpr int kLampCount = 30;  // lamp numbers 0..31 without 7 and 15

struct FlagPosition {
    std::size_t position;
    int lamp;                      // -1: no lamp
    std::string_view lampCaption;  // caption beside the lamp in the Alarms window
    ElementName faultField;        // the panel's fault text; none: empty name
    std::string_view faultText;
    std::string_view alarmText;  // empty: the alarm list shows "-" alone
};

// Every flag position 2..36 but the separators, in ascending position order.
std::span<const FlagPosition> flagPositions();

// The flag positions that carry a lamp, in ascending lamp order; the k-th of
// them is captioned by Label1_k in the Alarms window.
const std::array<const FlagPosition*, kLampCount>& lampsInOrder();

}  // namespace treld
