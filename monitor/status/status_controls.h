// The controls and windows of the status subsystem: declared in the display
// model, and what the operator's actions on them do.
#pragma once

#include "foundation/operator_event.h"
#include "status/status_core.h"

namespace treld {

// The three measurement panels, their captions telling a bad source.
inline constexpr ElementName kSource1Panel{Form::Form1, "Frame1"};
inline constexpr ElementName kSource2Panel{Form::Form1, "Frame2"};
inline constexpr ElementName kOutputPanel{Form::Form1, "Frame3"};
// The fault text at the foot of each panel.
inline constexpr ElementName kSource1Fault{Form::Form1, "Label2"};
inline constexpr ElementName kSource2Fault{Form::Form1, "Label27"};
inline constexpr ElementName kOutputFault{Form::Form1, "Label28"};
// "Sound on" or "Sound off" beside the sound buttons of the Control tab.
inline constexpr ElementName kSoundState{Form::Form1, "Label36"};

void declareStatusElements(DisplayModel& ui);

// Returns true when the event belonged to this subsystem.
bool onStatusEvent(StatusCore& c, const OperatorEvent& event);

}  // namespace treld
