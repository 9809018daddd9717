// The login dialog Form3, its timed login sequence and the login keep-alive.
#pragma once

#include "foundation/core.h"

namespace treld {

// Shows the login dialog for kServiceLogin or kUserLogin. A dialog already
// open for that level only comes to the front; for the other level it is
// retitled and its password box emptied. `resume` runs after a successful
// login (the button that needed it).
void showLoginDialog(Core& c, Int16 kind, std::function<void(Core&)> resume = {});

// "Logon": checks the password's length and starts the sequence.
void onLogonClick(Core& c);

// Cancel or any other close; ends a pause of the poll cycle.
void closeLoginDialog(Core& c);

// "Logout": queues "OUT".
void logout(Core& c);

// The dialog's 500 ms timer: pause at 1 s, send at 3 s (once the exchange
// on the line is over), resume 2 s later, verdict 3 s after that (once the
// status read after the login is in).
void advanceLoginSequence(Core& c);

inline constexpr int kKeepAliveMs = 20000;

// Timer2: repeats the last Logon's login every 20 s while the device reports
// one, and tries again 5 s later while the command slot is busy.
void keepLoginAlive(Core& c);

}  // namespace treld
