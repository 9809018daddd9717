#include "mime_message.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>

namespace drovelin {
namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their own value.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence at `i`, 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    const unsigned char second = byte(i + 1);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return 0;
    for (std::size_t k = i + 2; k < i + length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

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

std::string toUtf8(std::string_view text) {
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kWindows1252[byte - 0x80] : byte);
    }
    return out;
}

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
