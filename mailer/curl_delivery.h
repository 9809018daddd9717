// One delivery attempt through libcurl: the optional POP3 log-in, then SMTP.
#pragma once

#include <string>

#include "mail_settings.h"

namespace drovelin {

// Empty when the server accepted the message, else why not (curl's text).
// Call curl_global_init first.
std::string deliverOnce(const MailSettings& settings, const std::string& message);

}  // namespace drovelin
