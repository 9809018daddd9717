// "e-mail test" in Settings: the mail program sends a test message, and the
// dialog says how it went once the program has ended, sent or why not.
#pragma once

#include "foundation/core.h"

namespace treld {

inline constexpr ElementName kMailTestOutcome{Form::Form2, "MailTestOutcome"};

// Starts the mail program with the test message; nothing is saved first.
void sendTestMail(Core& c);

// The watched mail program has ended with `exitCode`.
void onMailTestEnded(Core& c, int exitCode);

}  // namespace treld
