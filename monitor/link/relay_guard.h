// What a relay request is: a read that any allowed reader may make, or a
// command that acts on the device and needs a COMMAND: peer; and how the PC
// event file shows it.
#pragma once

#include <string>
#include <string_view>

namespace treld {

// PC event codes of the audit trail.
inline constexpr int kRelayForwardedEvent = 300;
inline constexpr int kRelayRefusedEvent = 301;

// Exactly a poll command, an option read ("M" and four digits) or a log read
// ("LOG" and three digits); nothing else passes for a read.
bool isReadRequest(std::string_view request);

// A user (U...) or service (P...) login, also behind blanks: the device may
// skip them, so it is paced like one.
bool isLoginRequest(std::string_view request);

// The request as the event file shows it: whatever follows a login's letter
// as "*"s, commas (the calendar reads up to one) and control characters as "?".
std::string auditText(std::string_view request);

}  // namespace treld
