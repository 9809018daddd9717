// Reads JSON that came from elsewhere (other stations' payloads on the
// broker): strict RFC 8259, nested at most kJsonDepth deep, so a hostile
// text costs time and memory in proportion to its length and no more.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treld {

inline constexpr int kJsonDepth = 16;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;               // a string's UTF-8
    std::vector<JsonValue> items;   // an array's, or an object's members in the text's order
    std::vector<std::string> keys;  // an object's member names, one per item

    // The member `key` of an object; null for anything else or no such member.
    const JsonValue* member(std::string_view key) const;
    // The member `key` when it is a string, else "".
    std::string_view textOf(std::string_view key) const;
};

// The value of the whole text, or nothing when it is not JSON.
std::optional<JsonValue> readJson(std::string_view text);

}  // namespace treld
