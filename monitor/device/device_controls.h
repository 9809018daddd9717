// The controls and windows of the device subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "device/device_core.h"
#include "foundation/operator_event.h"

namespace treld {

// The "User options" tab, one row per option number: its caption, the value
// the device holds, and the editor (a selector for a choice, else a number
// field with its up-down); "Update STS" below.
inline constexpr ElementArray kOptionCaptions{Form::Form1, "Label5"};
inline constexpr ElementArray kOptionValues{Form::Form1, "Label32"};
inline constexpr ElementArray kOptionSelectors{Form::Form1, "Combo1"};
inline constexpr ElementArray kOptionNumbers{Form::Form1, "Label30"};
inline constexpr ElementArray kOptionUpDowns{Form::Form1, "UpDown1"};
inline constexpr ElementName kUpdateSts{Form::Form1, "Command1"};

// The "Control" tab: the command buttons, by kOperatorCommands index, and
// the explanations beside them.
inline constexpr ElementArray kCommandButtons{Form::Form1, "Command2"};
inline constexpr ElementName kXferToSource1Text{Form::Form1, "Label29"};
inline constexpr ElementName kXferToSource2Text{Form::Form1, "Label31"};
inline constexpr ElementName kAutomaticXferText{Form::Form1, "Label33"};
inline constexpr ElementName kOutputInhibitText{Form::Form1, "Label34"};
inline constexpr ElementName kInhibitResetText{Form::Form1, "Label35"};

// The login dialog.
inline constexpr ElementName kLoginDialog{Form::Form3, "Form3"};
inline constexpr ElementName kPasswordCaption{Form::Form3, "Label1"};
inline constexpr ElementName kPasswordBox{Form::Form3, "Text1"};
inline constexpr ElementName kLoginStatus{Form::Form3, "Label2"};
inline constexpr ElementName kLogon{Form::Form3, "Command1"};
inline constexpr ElementName kLoginCancel{Form::Form3, "Command2"};

// The About window.
inline constexpr ElementName kAboutWindow{Form::Form5, "Form5"};
inline constexpr ElementName kAboutText{Form::Form5, "Label1"};
inline constexpr ElementName kAboutOk{Form::Form5, "Command1"};

// The operator's guide beside the program, opened by Help -> "Program help".
inline constexpr ElementName kHelpWindow{Form::Form7, "Form7"};
inline constexpr std::string_view kOperatorGuide = "operator-guide.md";

void declareDeviceElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onDeviceEvent(DeviceCore& c, const OperatorEvent& event);

}  // namespace treld
