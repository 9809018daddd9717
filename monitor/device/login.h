// The login dialog Form3, its timed login sequence and the login keep-alive.
#pragma once

#include "device/device_core.h"
#include "link/poll_timer.h"

namespace treld {

// Shows the login dialog for kServiceLogin or kUserLogin. A dialog already
// open for that level only comes to the front; for the other level it is
// retitled and its password box emptied. `resume` runs after a successful
// login (the button that needed it).
void showLoginDialog(DeviceCore& c, Int16 kind, std::function<void(DeviceCore&)> resume = {});

// "Logon": checks the password's length and starts the sequence.
void onLogonClick(DeviceCore& c);

// Cancel or any other close; ends a pause of the poll cycle.
void closeLoginDialog(DeviceCore& c);

// "Logout" (offered while a status shows a login): queues "OUT".
void logout(DeviceCore& c);

// The program's end with a login shown: "OUT" goes out once the exchange on
// the line has its outcome, and the end follows the reply to "OUT"; each wait
// is at most kLogoutAtEndMs, so the end never hangs on the device.
enum class LogoutAtEnd { None, AwaitingLine, AwaitingReply };
inline constexpr int kLogoutAtEndMs = 2000;
// Where the logout stands, and what goes out or how long to wait for it.
struct LogoutStep {
    LogoutAtEnd state = LogoutAtEnd::None;
    PollNext next;
};
// None when there is no login to end or no device to tell it.
LogoutStep startLogoutAtEnd(const DeviceCore& c);
// Every Timer1 tick meanwhile; None: the program may end.
LogoutStep advanceLogoutAtEnd(const DeviceCore& c, LogoutAtEnd state);

// The dialog's 500 ms timer: pause at 1 s, send at 3 s (once the exchange
// on the line is over: the login is returned), resume 2 s later from the
// cycle's first step, verdict 3 s after that (once the status read after the
// login is in).
PollNext advanceLoginSequence(DeviceCore& c);

inline constexpr int kKeepAliveMs = 20000;

// Timer2: repeats the last login the device took from the dialog every 20 s
// while the device reports one, and tries again 5 s later while the command
// slot is busy.
void keepLoginAlive(DeviceCore& c);

}  // namespace treld
