// Every interval that Timer1, the poll timer, is given. An interval stays in
// force until the next change, so the cycle runs as fast as the device
// answers, with a 3 s pause after each time-out.
#pragma once

namespace treld {

inline constexpr int kFirstTickMs = 50;  // start-up
// After a send the reply time-out applies (Core::replyTimeoutMs), except here:
inline constexpr int kDemoAnswerMs = 10;  // the demo table answered at once
// A reply has completed; the next tick evaluates it.
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
