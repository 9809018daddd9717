#include "mime_message.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>

#include "foundation/text_encoding.h"

namespace drovelin {
namespace {

using treld::toUtf8;
using treld::utf8SequenceLength;

std::string base64(std::string_view data) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(data[i]) << 16;
        if (i + 1 < data.size())
            group |= static_cast<unsigned char>(data[i + 1]) << 8;
        if (i + 2 < data.size())
            group |= static_cast<unsigned char>(data[i + 2]);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += i + 1 < data.size() ? kDigits[(group >> 6) & 63] : '=';
        out += i + 2 < data.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

// Short printable ASCII that cannot be mistaken for an encoded word.
bool fitsAsIs(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return text.size() <= 60 && text.find("=?") == std::string_view::npos;
}

// RFC 2047 "B" words of at most 75 characters, never splitting a character,
// folded onto continuation lines.
std::string encodedWords(std::string_view utf8) {
    constexpr std::size_t kMostBytesPerWord = 45;  // 60 base64 characters
    std::string out;
    while (!utf8.empty()) {
        std::size_t take = 0;
        while (take < utf8.size()) {
            const std::size_t length = std::max<std::size_t>(utf8SequenceLength(utf8, take), 1);
            if (take + length > kMostBytesPerWord)
                break;
            take += length;
        }
        if (!out.empty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + base64(utf8.substr(0, take)) + "?=";
        utf8.remove_prefix(take);
    }
    return out;
}

std::string unstructured(std::string_view text) {
    const std::string utf8 = toUtf8(text);
    return fitsAsIs(utf8) ? utf8 : encodedWords(utf8);
}

std::string mailbox(const Mailbox& box) {
    const std::string name = toUtf8(box.name);
    if (name.empty())
        return "<" + box.address + ">";
    if (!fitsAsIs(name))
        return encodedWords(name) + " <" + box.address + ">";
    std::string quoted = "\"";
    for (const char c : name) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\" <" + box.address + ">";
}

std::string mailDate(std::time_t when) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[utc.tm_wday],
                  utc.tm_mday, kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                  utc.tm_sec);
    return text;
}

}  // namespace

std::string newMessageId(std::string_view senderAddress) {
    std::random_device random;
    const std::uint64_t unique = (std::uint64_t{random()} << 32) | random();
    char id[64];
    std::snprintf(id, sizeof id, "%llx.%016llx",
                  static_cast<unsigned long long>(std::time(nullptr)),
                  static_cast<unsigned long long>(unique));
    const std::size_t at = senderAddress.rfind('@');
    const std::string_view domain =
        at == std::string_view::npos ? std::string_view("localhost") : senderAddress.substr(at + 1);
    return "<" + std::string(id) + "@" + std::string(domain) + ">";
}

std::string buildMimeMessage(const MailMessage& message) {
    std::string out = "Date: " + mailDate(message.date) + "\r\n";
    out += "From: " + mailbox(message.sender) + "\r\n";
    out += "To: ";
    for (std::size_t i = 0; i < message.recipients.size(); ++i)
        out += (i == 0 ? "" : ",\r\n ") + mailbox(message.recipients[i]);
    out += "\r\n";
    out += "Subject: " + unstructured(message.subject) + "\r\n";
    out += "Message-ID: " + message.messageId + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/html; charset=UTF-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    const std::string body = base64(toUtf8(message.html));
    for (std::size_t i = 0; i < body.size(); i += 76)
        out += body.substr(i, 76) + "\r\n";
    return out;
}

}  // namespace drovelin
