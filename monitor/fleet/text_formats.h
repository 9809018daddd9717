// Text for the outside world: JSON, Prometheus labels, topics. The monitor's
// texts are UTF-8 but may hold whatever a device sent; what leaves is always
// valid UTF-8 (see foundation/text_encoding.h).
#pragma once

#include <string>
#include <string_view>

#include "foundation/text_encoding.h"

namespace treld {

// A JSON string with its quotes.
std::string jsonString(std::string_view text);

// A Prometheus label value with its quotes.
std::string labelValue(std::string_view text);

// The shortest decimal text that reads back as the same number.
std::string numberText(double value);

// Lower-case letters and digits, words joined by "_": "Source2 BAD " gives
// "source2_bad". For names that must be identifiers (JSON keys, ids).
std::string slug(std::string_view text);

// Builds a JSON object member by member.
class JsonObject {
  public:
    JsonObject& text(std::string_view key, std::string_view value);
    // A number, true, false, null or a JSON object already built.
    JsonObject& raw(std::string_view key, std::string_view json);
    std::string done() const { return members_ + "}"; }

  private:
    std::string members_ = "{";
};

}  // namespace treld
