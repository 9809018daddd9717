// The texts the status line shows when an exchange goes wrong, and the
// replies that only a relay server gives. Every file takes them from here.
#pragma once

#include <string>
#include <string_view>

#include "foundation/core.h"

namespace treld {

// What went wrong with an exchange.
enum class LinkFault {
    ComTimeOut,     // the local device did not answer
    PortNotOpened,  // the serial port cannot be written
    RemoteTimeOut,  // the remote monitor did not answer
    DataError,      // the reply to CheckedCommand failed its format test
};

// The status line's text for a fault, naming ComPort or CheckedCommand.
std::string linkFaultText(const Core& c, LinkFault fault);

// Shown once a reply has been decoded.
inline constexpr std::string_view kDataOk = "Data OK";
// Puts kDataOk in the status line, unless a notice stands there (Core::notice).
void showDataOk(Core& c);

// A relay server's own replies, each followed by CR on the wire.
inline constexpr std::string_view kRelayCacheEmpty = "Time out";  // a poll command not yet answered
inline constexpr std::string_view kRelayNoReply = "Timeout";  // a forwarded command went unanswered
inline constexpr std::string_view kRelayComFailed =
    "Can not open com";  // and the port: write failed
// A command from a peer not allowed to send it, the device's own refusal text.
inline constexpr std::string_view kRelayAccessDenied = "ACCESS DENIED";

}  // namespace treld
