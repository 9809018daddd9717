#include "fleet/text_formats.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace treld {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char ch : toUtf8(text)) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string labelValue(std::string_view text) {
    std::string out = "\"";
    for (const char ch : toUtf8(text)) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string numberText(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return {text.data(), result.ptr};
}

std::string slug(std::string_view text) {
    std::string out;
    bool gap = false;
    for (const char ch : text) {
        if (std::isalnum(static_cast<unsigned char>(ch)) == 0 ||
            static_cast<unsigned char>(ch) >= 0x80) {
            gap = !out.empty();
            continue;
        }
        if (gap)
            out += '_';
        gap = false;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return out;
}

JsonObject& JsonObject::text(std::string_view key, std::string_view value) {
    return raw(key, jsonString(value));
}

JsonObject& JsonObject::raw(std::string_view key, std::string_view json) {
    if (members_.size() > 1)
        members_ += ',';
    members_ += jsonString(key);
    members_ += ':';
    members_ += json;
    return *this;
}

}  // namespace treld
