// "e-mail test" in Settings: the mail program sends a test message, and the
// dialog says how it went once the program has ended, sent or why not.
#pragma once

#include "records/records_core.h"

namespace treld {

inline constexpr ElementName kMailTestOutcome{Form::Form2, "MailTestOutcome"};

// The mail program's argument for the test message.
inline constexpr std::string_view kTestMail = "1&&test message++STS test message";

// Queues the test message for the mail program (after a mail that is being
// sent); with mail fields changed but not saved, says Save comes first.
void sendTestMail(RecordsCore& c);

// The mail program that sent the test message has ended with `exitCode`.
void onMailTestEnded(RecordsCore& c, int exitCode);

}  // namespace treld
