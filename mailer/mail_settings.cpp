#include "mail_settings.h"

#include <algorithm>
#include <cctype>

#include "foundation/text_encoding.h"

namespace drovelin {
namespace {

constexpr int kMostAttempts = 20;
constexpr int kLongestDelaySeconds = 600;
constexpr std::size_t kLongestAddress = 254;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Why a text may not go into a header or a server command; empty when it may.
std::string textProblem(std::string_view key, std::string_view text) {
    for (const char c : text) {
        if (c == '\r' || c == '\n')
            return std::string(key) + " holds a line break";
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            return std::string(key) + " holds a control character";
    }
    if (treld::characterCount(text) > treld::kLongestConfigText)
        return std::string(key) + " is longer than " + std::to_string(treld::kLongestConfigText) +
               " characters";
    return {};
}

// "local@domain" of printable ASCII without blanks or the characters that
// would let an address spill into the rest of a header.
bool isPlainAddress(std::string_view address) {
    const std::size_t at = address.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string_view::npos || address.size() > kLongestAddress)
        return false;
    return std::all_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F &&
               std::string_view("<>()[],;:\"\\").find(c) == std::string_view::npos;
    });
}

std::string addressProblem(std::string_view key, std::string_view address) {
    if (std::string problem = textProblem(key, address); !problem.empty())
        return problem;
    return isPlainAddress(address) ? std::string()
                                   : std::string(key) + " is not a plain e-mail address";
}

std::string mailboxProblem(std::string_view nameKey, std::string_view addressKey,
                           const Mailbox& mailbox) {
    std::string problem = textProblem(nameKey, mailbox.name);
    return problem.empty() ? addressProblem(addressKey, mailbox.address) : problem;
}

bool isHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

}  // namespace

bool isLoopbackHost(std::string_view host) {
    return host == "localhost" || host == "127.0.0.1" || host == "[::1]";
}

std::optional<ServerAddress> parseServerAddress(std::string_view text, int defaultPort) {
    ServerAddress server{std::string(), defaultPort};
    std::string_view portText;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close < 3)
            return std::nullopt;
        const std::string_view inner = text.substr(1, close - 1);
        if (!std::all_of(inner.begin(), inner.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
            }))
            return std::nullopt;
        server.host = std::string(text.substr(0, close + 1));
        text.remove_prefix(close + 1);
        if (!text.empty() && !text.starts_with(':'))
            return std::nullopt;
        portText = text.empty() ? text : text.substr(1);
    } else {
        const std::size_t colon = text.find(':');
        const std::string_view host = text.substr(0, colon);
        if (host.empty() || !std::all_of(host.begin(), host.end(), isHostCharacter))
            return std::nullopt;
        server.host = std::string(host);
        portText = colon == std::string_view::npos ? std::string_view{} : text.substr(colon + 1);
        if (colon != std::string_view::npos && portText.empty())
            return std::nullopt;
    }
    if (!portText.empty()) {
        if (portText.size() > 5 || !std::all_of(portText.begin(), portText.end(),
                                                [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        server.port = std::stoi(std::string(portText));
        if (server.port < 1 || server.port > 65535)
            return std::nullopt;
    }
    return server;
}

SettingsCheck mailSettings(const treld::StationConfig& config, MailKind kind) {
    SettingsCheck check;
    MailSettings& settings = check.settings;
    settings.retry = {std::clamp<int>(config.MailRetry, 1, kMostAttempts),
                      std::clamp<int>(config.FailDelay, 0, kLongestDelaySeconds)};
    auto refuse = [&](std::string problem) {
        check.problem = std::move(problem);
        return check;
    };

    settings.sender = {std::string(trimmed(config.SenderName)),
                       std::string(trimmed(config.SenderAddress))};
    if (settings.sender.address.empty())
        return refuse("SENDERADRES: is empty");
    if (std::string problem = mailboxProblem("SENDERNAME:", "SENDERADRES:", settings.sender);
        !problem.empty())
        return refuse(problem);

    const struct {
        const std::string& name;
        const std::string& address;
        std::string_view nameKey;
        std::string_view addressKey;
    } recipients[] = {
        {config.RecipientName1, config.RecipientAddress1, "RECEIPNAME1:", "RECEIPADRES1:"},
        {config.RecipientName2, config.RecipientAddress2, "RECEIPNAME2:", "RECEIPADRES2:"},
        {config.RecipientName3, config.RecipientAddress3, "RECEIPNAME3:", "RECEIPADRES3:"},
    };
    for (const auto& recipient : recipients) {
        Mailbox mailbox{std::string(trimmed(recipient.name)),
                        std::string(trimmed(recipient.address))};
        if (mailbox.address.empty())
            continue;
        if (std::string problem = mailboxProblem(recipient.nameKey, recipient.addressKey, mailbox);
            !problem.empty())
            return refuse(problem);
        settings.recipients.push_back(std::move(mailbox));
    }
    if (settings.recipients.empty())
        return refuse("no recipient: RECEIPADRES1: to RECEIPADRES3: are empty");

    settings.subject =
        config.MailSubject.empty() ? std::string(defaultSubject(kind)) : config.MailSubject;
    if (std::string problem = textProblem("SUBJECT:", settings.subject); !problem.empty())
        return refuse(problem);

    const std::string_view smtpHost = trimmed(config.SmtpHost);
    if (smtpHost.empty())
        return refuse("SMTPHOST: is empty");
    const std::optional<ServerAddress> smtp = parseServerAddress(smtpHost, 25);
    if (!smtp)
        return refuse("SMTPHOST: is not a host name with an optional :port");
    settings.smtp = *smtp;

    settings.useAuthentication = config.UseAuthentication == 1;
    if (config.UsePopAuthentication == 1) {
        settings.pop3 = parseServerAddress(trimmed(config.Pop3Host), 110);
        if (!settings.pop3)
            return refuse("POP3HOST: is not a host name with an optional :port");
    }
    if (settings.useAuthentication || settings.pop3) {
        settings.userName = config.SmtpUserName;
        settings.password = config.SmtpPassword;
        for (const auto& [key, value] :
             {std::pair<std::string_view, std::string_view>{"USERNAME:", settings.userName},
              {"PASSWORD:", settings.password}}) {
            if (std::string problem = textProblem(key, value); !problem.empty())
                return refuse(problem);
        }
    }
    return check;
}

}  // namespace drovelin
