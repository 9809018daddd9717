// Every interval that Timer1, the poll timer, is given, and what the cycles
// return to the conductor, the one that sets it (conductor/poll_tick.cpp).
// An interval stays in force until the next change, so the cycle runs as
// fast as the device answers, with a 3 s pause after each time-out.
#pragma once

#include <optional>
#include <string>

#include "link/program_state.h"

namespace treld {

// What a cycle returns once it has taken an exchange's outcome: the next
// command to send and for whom, the cycle's next step, a new interval for the
// poll timer; any of them or none. The conductor sets the step, sends (a send
// of the cycle adds 1 to the step, and asks for the reply's wait), then
// applies the interval, which thus replaces the send's.
struct PollNext {
    std::string command;  // empty: nothing is sent
    ExchangeOwner owner = ExchangeOwner::Cycle;
    std::optional<Int16> step;
    std::optional<int> waitMs;  // none: the interval in force stays
};

inline constexpr int kFirstTickMs = 50;  // start-up
// After a send the reply time-out applies (BaseCore::replyTimeoutMs). A reply
// has completed (the transport table, link/line.cpp); the next tick evaluates it:
inline constexpr int kDemoAnswerMs = 10;  // the demo table answered at once
inline constexpr int kSerialReplyMs = 5;
inline constexpr int kTcpReplyMs = 20;
// The options and Control cycles after a reply: the next request follows.
inline constexpr int kCyclePaceMs = 10;
// After a time-out, and after sending a queued operator command or a
// forwarded relay command (the wait for its reply).
inline constexpr int kCommandWaitMs = 3000;
// In demo mode a queued or forwarded command is answered from the table.
inline constexpr int kDemoCommandWaitMs = 20;
inline constexpr int kDemoRelayWaitMs = 50;
// Settings "Save": polling goes on after a second with the new link.
inline constexpr int kAfterSettingsMs = 1000;

}  // namespace treld
