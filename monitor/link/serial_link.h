// The serial link to a local STS (the line's serial side: opening the port,
// writing commands, collecting the reply up to its CR, the port's failures,
// in link/serial_link.cpp) and the device message line its fixed replies
// are shown in.
#pragma once

#include <string_view>

#include "link/link_core.h"

namespace treld {

// The device's fixed replies, shown in the device message line for a while.
bool isFixedReply(std::string_view reply);

// How long Label25 shows a fixed reply of the device.
inline constexpr int kSerialMessageMs = 10000;
inline constexpr int kTcpMessageMs = 5000;

// Shows a fixed reply in Label25 and lets Timer3 clear it after `showMs`;
// the login keep-alive's "OK" is not shown.
void showDeviceMessage(LinkCore& c, std::string_view text, int showMs);

// Timer3: clears the device message line.
void clearDeviceMessage(LinkCore& c);

}  // namespace treld
