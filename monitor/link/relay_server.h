// The relay server: other monitors ask this one for the device's replies.
#pragma once

#include "link/core.h"

namespace treld {

// A forwarded command's reply has come (or its 3 s are over) and a client waits.
bool relayAnswerDue(const Core& c);

// Sends the forwarded command's reply, or "Timeout", to the waiting client.
void answerRelayClient(Core& c);

// Writes the pending relay command to the device after an evaluation.
void forwardRelayCommand(Core& c);

}  // namespace treld

namespace treld {

// Relay server events, slot 1..15 of an accepted connection.
void startRelayServer(Core& c);
void onRelayConnectionRequest(Core& c);
void onRelayData(Core& c, int slot, std::string_view data);
void onRelaySendComplete(Core& c, int slot);
void onRelayClosed(Core& c, int slot);

// The answer to one request: a cached or demo reply with its CR, "Time out"
// for an empty cache entry, or "" when the command is forwarded to the device.
std::string LookupRelayRequest(Core& c, std::string request);

}  // namespace treld
