// The frame of the main window: caption, tabs, status row, menus.
#pragma once

#include "foundation/display_model.h"

namespace treld {

inline constexpr std::string_view kProgramTitle = "ZID evevori";
// Said in the title and beside the station list while demo answers stand in
// for the device.
inline constexpr std::string_view kDemoAnswersText = "DEMO: recorded answers, no device";

// Tabs of SSTab1.
enum Tab { kMeasuresTab = 0, kOptionsTab = 1, kDemoSetTab = 2, kControlTab = 3, kLogTab = 4 };
inline constexpr int kTabCount = 5;

inline constexpr ElementName kMainWindow{Form::Form1, "Form1"};
inline constexpr ElementName kTabs{Form::Form1, "SSTab1"};
inline constexpr ElementArray kTabPages{Form::Form1, "SSTab1"};

// The status row, left to right, the device message line below it, and the
// send indicator beside the station list.
inline constexpr ElementName kLinkKind{Form::Form1, "Label24"};
inline constexpr ElementName kStatusLine{Form::Form1, "Label40"};
inline constexpr ElementName kReceiveIndicator{Form::Form1, "Label50"};
inline constexpr ElementName kDeviceMessage{Form::Form1, "Label25"};
inline constexpr ElementName kSendIndicator{Form::Form1, "Label56"};

// "Synchronize" on the Measures tab: the device's clock from the PC's.
inline constexpr ElementName kSynchronize{Form::Form1, "Command3"};

// Menus File, Login and Help.
inline constexpr ElementName kAlarmsMenu{Form::Form1, "mnalarm"};
inline constexpr ElementName kSettingsMenu{Form::Form1, "mnset"};
inline constexpr ElementName kCalendarMenu{Form::Form1, "mncal"};
inline constexpr ElementName kAboutMenu{Form::Form1, "mnabo"};
inline constexpr ElementName kExitMenu{Form::Form1, "mnexit"};
inline constexpr ElementName kServiceLoginMenu{Form::Form1, "mnlogon"};
inline constexpr ElementName kUserLoginMenu{Form::Form1, "mnuselogon"};
inline constexpr ElementName kLogoutMenu{Form::Form1, "mnout"};
inline constexpr ElementName kHelpMenu{Form::Form1, "phelp"};
inline constexpr ElementName kHelpAboutMenu{Form::Form1, "mnab"};

void declareMainWindowElements(DisplayModel& ui);

}  // namespace treld
