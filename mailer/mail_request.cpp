#include "mail_request.h"

namespace drovelin {

std::optional<MailRequest> parseMailArgument(std::string_view argument) {
    constexpr std::string_view kPrefix = "1&&";
    constexpr std::string_view kSeparator = "++";
    if (!argument.starts_with(kPrefix))
        return std::nullopt;
    argument.remove_prefix(kPrefix.size());
    const std::size_t separator = argument.find(kSeparator);
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::string_view kind = argument.substr(0, separator);
    std::string text(argument.substr(separator + kSeparator.size()));
    for (const MailKind known : {MailKind::Alarm, MailKind::Test}) {
        if (kind == kindName(known))
            return MailRequest{known, std::move(text)};
    }
    return std::nullopt;
}

std::string_view kindName(MailKind kind) {
    return kind == MailKind::Alarm ? "send" : "test message";
}

std::string_view defaultSubject(MailKind kind) {
    return kind == MailKind::Alarm ? "STS alarm" : "STS test message";
}

std::string htmlBody(const MailRequest& request) {
    std::string content;
    if (request.kind == MailKind::Alarm) {
        content = request.text;  // the monitor writes the alarm text as HTML already
    } else {
        for (const char c : request.text) {
            switch (c) {
                case '&':
                    content += "&amp;";
                    break;
                case '<':
                    content += "&lt;";
                    break;
                case '>':
                    content += "&gt;";
                    break;
                default:
                    content += c;
            }
        }
    }
    return "<!DOCTYPE html>\r\n<html><head><meta charset=\"UTF-8\"></head><body>\r\n" + content +
           "\r\n</body></html>\r\n";
}

}  // namespace drovelin
