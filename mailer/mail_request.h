// The one argument the monitor starts drovelin with: "1&&" + kind + "++" + text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drovelin {

enum class MailKind { Alarm, Test };

struct MailRequest {
    MailKind kind;
    std::string text;  // HTML for an alarm, plain text for a test message
};

// Nothing when the argument is not of the form "1&&send++text" or "1&&test message++text".
std::optional<MailRequest> parseMailArgument(std::string_view argument);

// The kind as it stands in the argument: "send" or "test message".
std::string_view kindName(MailKind kind);

// The subject used when SUBJECT: is empty.
std::string_view defaultSubject(MailKind kind);

// The whole HTML document that goes out as the message body.
std::string htmlBody(const MailRequest& request);

}  // namespace drovelin
