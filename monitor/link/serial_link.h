// The serial link to a local STS: opening the port, writing commands and
// collecting the device's reply up to its CR.
#pragma once

#include <string_view>

#include "foundation/core.h"

namespace treld {

// Start-up: opens ComPort at 2400,N,8,1. A port that does not open stays
// closed without a message; the first send reports it.
void OpenComPort(Core& c);

// Writes a command and its CR. On failure ComReady becomes 0 and the status
// line names the port. Returns whether the write succeeded.
bool writeCommandToSerial(Core& c, std::string_view command);

// The receive handler: characters from the port.
void onSerialReceive(Core& c, std::string_view chunk);

// The device's fixed replies, shown in the device message line for a while.
bool isFixedReply(std::string_view reply);

// How long Label25 shows a fixed reply of the device.
inline constexpr int kSerialMessageMs = 10000;
inline constexpr int kTcpMessageMs = 5000;

// Shows a fixed reply in Label25 and lets Timer3 clear it after `showMs`.
void showDeviceMessage(Core& c, std::string_view text, int showMs);

// Timer3: clears the device message line.
void clearDeviceMessage(Core& c);

}  // namespace treld
