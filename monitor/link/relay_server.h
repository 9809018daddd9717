// The relay server: other monitors ask this one for the device's replies.
// Poll commands are answered from the reply cache at once; any other command
// is queued and forwarded to the device by the poll cycle, one per measurement
// cycle, if relay.cfg lets the client send it.
#pragma once

#include <string_view>

#include "link/link_core.h"

namespace treld {

// A request longer than this without its CR is not a command line: the
// client is disconnected.
inline constexpr std::size_t kRelayRequestLimit = 64;
// Forwarded commands waiting for the device, besides the one in flight.
// Further requests are answered "Timeout" at once.
inline constexpr std::size_t kRelayQueueLimit = 8;
// A client that sends nothing, or waits in the queue, this long is dropped
// (a queued one is answered "Timeout").
inline constexpr int kRelayIdleSeconds = 10;
// RelayTimer counts those seconds.
inline constexpr int kRelayTimerMs = 1000;
// A relay server that cannot listen (the port taken, the address not this
// PC's, a relay.cfg that keeps it from listening) tries again this often.
inline constexpr int kRelayListenRetrySeconds = 10;

// Start-up: reads relay.cfg and listens on RemotePort. A mistake in relay.cfg
// or a port it cannot listen on is said on stderr and in the status line.
void startRelayServer(LinkCore& c);

// Relay server events, slot 1..15 of an accepted connection.
void onRelayConnectionRequest(LinkCore& c);
void onRelayData(LinkCore& c, int slot, std::string_view data);
void onRelaySendComplete(LinkCore& c, int slot);
void onRelayClosed(LinkCore& c, int slot);

// RelayTimer, every second: drops clients idle for kRelayIdleSeconds, writes
// the refusal summaries that are due and, while not listening, tries again.
void onRelayTimer(LinkCore& c);

// The answer to one request: a cached or demo reply with its CR, "Time out"
// for an empty cache entry, or "" when the command must go to the device.
std::string LookupRelayRequest(LinkCore& c, std::string request);

// The poll cycle's side. The relay's exchange has its reply, or its 3 s are
// over: answerRelayClient. After an evaluation with forwardDue(),
// forwardRelayCommand writes the next one; the measurement cycle tells each
// time it has read the status record.
void answerRelayClient(LinkCore& c);
void forwardRelayCommand(LinkCore& c);
void relayStatusRead(LinkCore& c);

}  // namespace treld
