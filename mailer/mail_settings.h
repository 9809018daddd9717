// The mail account settings in sts.cfg, checked before anything is sent.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/station_config.h"
#include "mail_request.h"

namespace drovelin {

struct Mailbox {
    std::string name;  // may be empty
    std::string address;
};

// A server as "host[:port]" names it; an IPv6 host keeps its brackets.
struct ServerAddress {
    std::string host;
    int port = 0;
};

// MAILRETRY: attempts, FAILDELAY: seconds apart; bounded so that a wild value
// cannot keep the program alive for days.
struct RetryPolicy {
    int attempts = 4;
    int delaySeconds = 5;
};

struct MailSettings {
    Mailbox sender;
    std::vector<Mailbox> recipients;
    std::string subject;
    ServerAddress smtp;
    bool useAuthentication = false;
    std::string userName;
    std::string password;
    std::optional<ServerAddress> pop3;  // a POP3 log-in before sending
    RetryPolicy retry;
};

// The names this machine's own mail relay is reached by: localhost, 127.0.0.1
// and [::1]. Any other address (127.0.0.2 included) is another host.
bool isLoopbackHost(std::string_view host);

// "host" or "host:port" ("[v6]" or "[v6]:port"); nothing when malformed.
std::optional<ServerAddress> parseServerAddress(std::string_view text, int defaultPort);

struct SettingsCheck {
    MailSettings settings;
    std::string problem;  // empty when the settings can be used
};

// Gathers and checks the settings: every value that reaches a header or the
// SMTP dialogue must be free of line breaks, addresses must be plain addresses.
// MAILRETRY: and FAILDELAY: are kept within bounds.
SettingsCheck mailSettings(const treld::StationConfig& config, MailKind kind);

}  // namespace drovelin
