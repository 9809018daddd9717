// The serial link to a local STS: opening the port, writing commands,
// collecting the device's reply up to its CR, and the port's failures.
#pragma once

#include <string_view>

#include "foundation/core.h"

namespace treld {

// Start-up, and ReopenTimer through reopenComPort: opens ComPort at
// 2400,N,8,1. A port that does not open stays closed without a message (the
// first send reports it) and the link counts as lost.
bool OpenComPort(Core& c);

// Writes a command and its CR. On failure ComReady becomes 0 and the status
// line names the port. Returns whether the write succeeded.
bool writeCommandToSerial(Core& c, std::string_view command);

// Writes a whole frame; a port that fails or does not take it all is failed.
bool writeToSerial(Core& c, std::string_view frame);

// The port hung up, reported an error or refused a write: it is closed, so
// nothing more is read or written on it, and while it is the link in use the
// status line says so and the link counts as lost until the device answers.
void serialPortFailed(Core& c);

// Settings "Save" chose another port: the old one is closed, the new one
// opened, the status line says at once when it did not open, and polling
// starts again from SRV.
void changeComPort(Core& c);

// ReopenTimer: a closed port is opened again; polling resumes from SRV.
void reopenComPort(Core& c);

// The receive handler: characters from the port.
void onSerialReceive(Core& c, std::string_view chunk);

// The device's fixed replies, shown in the device message line for a while.
bool isFixedReply(std::string_view reply);

// How long Label25 shows a fixed reply of the device.
inline constexpr int kSerialMessageMs = 10000;
inline constexpr int kTcpMessageMs = 5000;

// Shows a fixed reply in Label25 and lets Timer3 clear it after `showMs`;
// the login keep-alive's "OK" is not shown.
void showDeviceMessage(Core& c, std::string_view text, int showMs);

// Timer3: clears the device message line.
void clearDeviceMessage(Core& c);

}  // namespace treld
