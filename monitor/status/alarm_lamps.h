// The lamps of the Alarms window "STS Alarms" (Form4): a red picture Image1_n
// under a green one Image2_n; hiding the green one shows the lamp red.
#pragma once

#include "status/status_core.h"

namespace treld {

inline constexpr ElementName kAlarmsWindow{Form::Form4, "Form4"};
// By lamp number; the captions are numbered in lamp order from 0.
inline constexpr ElementArray kRedLamps{Form::Form4, "Image1"};
inline constexpr ElementArray kGreenLamps{Form::Form4, "Image2"};
inline constexpr ElementArray kLampCaptions{Form::Form4, "Label1"};

void declareAlarmWindow(DisplayModel& ui);

bool alarmWindowShown(StatusCore& c);

// Shows lamp n red when the flag is not 0, else green.
void SetLamp(StatusCore& c, int lamp, Int16 flag);

// All thirty lamps from StatusFlags, in ascending lamp order.
void refreshAlarmLamps(StatusCore& c);

// The window goes away with its lamp states: when it is next shown, every
// lamp is green until a status reply refreshes them.
void closeAlarmWindow(StatusCore& c);

}  // namespace treld
