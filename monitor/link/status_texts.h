// What the status line says when an exchange goes wrong, chosen by the link
// in use, and the replies that only a relay server gives.
#pragma once

#include <string>
#include <string_view>

#include "link/link_core.h"

namespace treld {

// The reply did not come: the status line says why, as the link in use sees
// it. The poll cycles and the log download say it alike: a remote station or
// the demo table has no com port to time out on.
void sayNoReply(LinkCore& c);

// The serial port cannot be written (in demo mode: the table lacked the answer).
void sayPortNotOpened(LinkCore& c);

// A relay server's own replies, each followed by CR on the wire.
inline constexpr std::string_view kRelayCacheEmpty = "Time out";  // a poll command not yet answered
inline constexpr std::string_view kRelayNoReply = "Timeout";  // a forwarded command went unanswered
inline constexpr std::string_view kRelayComFailed =
    "Can not open com";  // and the port: write failed
// A command from a peer not allowed to send it, the device's own refusal text.
inline constexpr std::string_view kRelayAccessDenied = "ACCESS DENIED";

}  // namespace treld
