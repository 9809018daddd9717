#include "curl_delivery.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace drovelin {
namespace {

// A slow server gets each step its time; a stuck one ends the attempt after a
// step's time, and the whole attempt ends at the latest after kAttemptSeconds.
// libcurl counts the server's greeting, EHLO, STARTTLS and the log-in as
// connecting, so the connection shares the attempt's time, not a shorter one.
constexpr long kStepSeconds = 30;
constexpr long kAttemptSeconds = 60;

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using List = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

size_t readMessage(char* buffer, size_t size, size_t count, void* source) {
    auto* rest = static_cast<std::string_view*>(source);
    const size_t length = std::min(size * count, rest->size());
    std::memcpy(buffer, rest->data(), length);
    rest->remove_prefix(length);
    return length;
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

std::string serverUrl(std::string_view scheme, const ServerAddress& server) {
    return std::string(scheme) + "://" + server.host + ":" + std::to_string(server.port) + "/";
}

// What every connection shares: no proxy (mail goes straight to the host), no
// signals, per-step time-outs, STARTTLS whenever the server offers it, and the
// account when `withAccount` is set. The account goes only over TLS, except
// to this machine: a server that offers no STARTTLS is refused before AUTH.
Handle newHandle(std::string_view scheme, const ServerAddress& server, const MailSettings& settings,
                 bool withAccount, char* errorText) {
    Handle curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return curl;
    const bool tlsRequired = withAccount && !isLoopbackHost(server.host);
    curl_easy_setopt(curl.get(), CURLOPT_URL, serverUrl(scheme, server).c_str());
    curl_easy_setopt(curl.get(), CURLOPT_PROXY, "");
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, kAttemptSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_SERVER_RESPONSE_TIMEOUT, kStepSeconds);
    // The message's upload: no byte moved for a step's time ends it.
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, kStepSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_USE_SSL,
                     static_cast<long>(tlsRequired ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, errorText);
    if (withAccount) {
        curl_easy_setopt(curl.get(), CURLOPT_USERNAME, settings.userName.c_str());
        curl_easy_setopt(curl.get(), CURLOPT_PASSWORD, settings.password.c_str());
    }
    return curl;
}

std::string performed(CURL* curl, const char* errorText) {
    const CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK)
        return {};
    if (code == CURLE_USE_SSL_FAILED)
        return "refused: the server offers no STARTTLS and the password goes only over TLS";
    return errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
}

// Servers that want "POP before SMTP" open SMTP to a client that logged in by POP3 just before.
std::string popLogIn(const MailSettings& settings) {
    char errorText[CURL_ERROR_SIZE] = {};
    const Handle curl = newHandle("pop3", *settings.pop3, settings, true, errorText);
    if (!curl)
        return "curl cannot start";
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, discard);
    return performed(curl.get(), errorText);
}

}  // namespace

std::string deliverOnce(const MailSettings& settings, const std::string& message) {
    if (settings.pop3) {
        if (std::string problem = popLogIn(settings); !problem.empty())
            return "POP3 log-in: " + problem;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    const Handle curl =
        newHandle("smtp", settings.smtp, settings, settings.useAuthentication, errorText);
    if (!curl)
        return "curl cannot start";
    const std::string from = "<" + settings.sender.address + ">";
    List recipients(nullptr, curl_slist_free_all);
    for (const Mailbox& recipient : settings.recipients) {
        const std::string address = "<" + recipient.address + ">";
        curl_slist* const list = curl_slist_append(recipients.get(), address.c_str());
        if (list == nullptr)
            return "out of memory";
        if (!recipients)
            recipients.reset(list);
    }
    std::string_view rest = message;
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl.get(), CURLOPT_READDATA, &rest);
    curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
    return performed(curl.get(), errorText);
}

}  // namespace drovelin
