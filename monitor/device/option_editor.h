// The option editor of the "User options" tab: the selectors, the number
// fields, the operator's edits and "Update STS".
#pragma once

#include <string_view>

#include "device/device_core.h"

namespace treld {

// The name the answer to "Update STS"'s question comes back under.
inline constexpr std::string_view kOptionsQuestion = "OptionsQuestion";

// Start-up: fills the option selectors with their value texts.
void ekranla(DeviceCore& c);

// The operator chose list position `value` in option `number`'s selector,
// or moved its up-down to `value`.
void editOption(DeviceCore& c, int number, int value);

// Puts the device's values, as last read, into the editors the operator has
// not edited.
void loadOptionEditor(DeviceCore& c);

// "Update STS": asks about every edited option that can be written, and says
// which edited ones cannot (their editors go back to the device's value).
void updateSts(DeviceCore& c);

// Yes: the writes asked about go out one after another.
void onOptionsAnswer(DeviceCore& c, bool yes);

// Called by the options cycle before each reply step: the next write due
// goes into a free command slot.
void queueDueOptionWrite(DeviceCore& c);

// The tab was left: writes not yet sent are forgotten, and the status line
// names them.
void dropDueOptionWrites(DeviceCore& c);

}  // namespace treld
