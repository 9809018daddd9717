// The command slot PollState: where the operator's commands meet the poll
// cycle. Every change of PollState is made here.
//
//   ""       normal polling
//   "PAUSE"  the login dialog sends its login itself; every poll tick returns
//   "BEKLE"  an operator command has gone out; its reply (or its 3 s) is awaited
//   other    an operator command, queued until the current exchange is over
//
// PollStep, the step counter of the cycle of the open tab, set by the conductor
// from what each cycle returns (every send of the cycle adds 1):
//   1..18     measurement cycle: odd steps send, even ones evaluate; 15 and 17
//             send the clock and the date ("Synchronize")
//   1..4      Control tab: a queued command and its reply, then the status
//   100..127  options cycle: 100 + 2n reads option n, 126 and 127 the status
//   500 on    log download
#pragma once

#include <string>

#include "link/link_core.h"
#include "link/poll_timer.h"

namespace treld {

inline constexpr Int16 kFirstMeasurementStep = 1;
inline constexpr Int16 kSetClockStep = 15;
inline constexpr Int16 kFirstOptionsStep = 100;
inline constexpr Int16 kFirstLogStep = 500;

inline constexpr std::string_view kPause = "PAUSE";
inline constexpr std::string_view kAwaiting = "BEKLE";

// Queues an operator command; one not yet sent is replaced. The status line
// shows its reply after `name` ("Output inhibit (INH): ACCESS DENIED").
void queueCommand(LinkCore& c, std::string command, std::string name);

// Queues the login keep-alive, whose reply is shown only when refused.
void queueKeepAlive(LinkCore& c, std::string command);

// The reply to the slot's command on the line, or its time-out, in the
// status line and named; a time-out returns its wait.
std::optional<int> showCommandReply(LinkCore& c);

// The command on the line is the keep-alive.
bool keepAliveOnLine(const LinkCore& c);

// The login dialog is about to send: polling stops until clearCommandSlot.
void pausePolling(LinkCore& c);

// Back to normal polling: a pause ends, a queued or awaited command is forgotten.
void clearCommandSlot(LinkCore& c);

bool pollingPaused(const LinkCore& c);
bool commandQueued(const LinkCore& c);
bool commandAwaited(const LinkCore& c);
bool commandSlotFree(const LinkCore& c);

// The queued command, to be sent for the operator (the line waits 3 s for
// its reply; in demo mode the table answers 20 ms later); the slot then
// awaits its reply.
PollNext takeQueuedCommand(LinkCore& c);

// The operator's exchange has its reply, or its 3 s are over: the status
// line shows it and the measurement cycle starts again from the top, with
// the tab treated as newly opened, but for the log download, which goes on.
// Also when a Logon dropped the "BEKLE".
PollNext finishAwaitedCommand(LinkCore& c);

}  // namespace treld
