// The e-mail as it goes over the wire: RFC 5322 headers, one UTF-8 HTML part.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "mail_settings.h"

namespace drovelin {

struct MailMessage {
    Mailbox sender;
    std::vector<Mailbox> recipients;
    std::string subject;
    std::string html;
    std::time_t date = 0;
    std::string messageId;  // with its angle brackets
};

// A fresh "<...@domain>" with the domain of the sender's address.
std::string newMessageId(std::string_view senderAddress);

// The whole message with CRLF line ends. Names and subject that are not short
// printable ASCII go as folded RFC 2047 encoded words and the body goes in
// base64, so lines stay short whatever the texts hold. The texts must have
// passed the checks of mailSettings.
std::string buildMimeMessage(const MailMessage& message);

}  // namespace drovelin
