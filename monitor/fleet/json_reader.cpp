#include "fleet/json_reader.h"

#include <charconv>
#include <cstdint>

#include "foundation/text_encoding.h"

namespace treld {
namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> whole() {
        JsonValue value;
        if (!read(value, 0))
            return std::nullopt;
        skipBlanks();
        return at_ == text_.size() ? std::optional(std::move(value)) : std::nullopt;
    }

  private:
    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool take(char ch) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == ch) {
            ++at_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) != w)
            return false;
        at_ += w.size();
        return true;
    }

    bool read(JsonValue& value, int depth) {
        skipBlanks();
        if (at_ >= text_.size() || depth >= kJsonDepth)
            return false;
        const char ch = text_[at_];
        if (ch == '{')
            return readObject(value, depth);
        if (ch == '[')
            return readArray(value, depth);
        if (ch == '"') {
            value.kind = JsonValue::Kind::String;
            return readString(value.text);
        }
        if (word("true") || word("false")) {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = ch == 't';
            return true;
        }
        if (word("null"))
            return true;
        value.kind = JsonValue::Kind::Number;
        return readNumber(value.number);
    }

    bool readObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        ++at_;
        if (take('}'))
            return true;
        do {
            if (!take('"') || !readString(value.keys.emplace_back(), false) || !take(':') ||
                !read(value.items.emplace_back(), depth + 1))
                return false;
        } while (take(','));
        return take('}');
    }

    bool readArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        ++at_;
        if (take(']'))
            return true;
        do {
            if (!read(value.items.emplace_back(), depth + 1))
                return false;
        } while (take(','));
        return take(']');
    }

    // From the opening quote, or just after it.
    bool readString(std::string& out, bool atQuote = true) {
        if (atQuote)
            ++at_;
        while (at_ < text_.size()) {
            const char ch = text_[at_++];
            if (ch == '"') {
                out = toUtf8(out);  // what is not UTF-8 is read as the monitor reads devices
                return true;
            }
            if (static_cast<unsigned char>(ch) < 0x20)
                return false;
            if (ch != '\\') {
                out += ch;
                continue;
            }
            if (at_ >= text_.size())
                return false;
            const char escape = text_[at_++];
            const std::string_view plain = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
            if (const std::size_t i = plain.find(escape); i != std::string_view::npos) {
                out += meant[i];
            } else if (escape != 'u' || !readCodePoint(out)) {
                return false;
            }
        }
        return false;
    }

    bool hex4(std::uint32_t& unit) {
        if (at_ + 4 > text_.size())
            return false;
        const auto [end, error] =
            std::from_chars(text_.data() + at_, text_.data() + at_ + 4, unit, 16);
        if (error != std::errc() || end != text_.data() + at_ + 4)
            return false;
        at_ += 4;
        return true;
    }

    // After "\u": one code unit, or a surrogate pair as one character.
    bool readCodePoint(std::string& out) {
        std::uint32_t point = 0;
        if (!hex4(point))
            return false;
        if (point >= 0xDC00 && point < 0xE000)
            return false;
        if (point >= 0xD800 && point < 0xDC00) {
            std::uint32_t low = 0;
            if (!word("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                return false;
            point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
        }
        if (point < 0x80) {
            out += static_cast<char>(point);
        } else if (point < 0x800) {
            out += static_cast<char>(0xC0 | (point >> 6));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            out += static_cast<char>(0xE0 | (point >> 12));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (point >> 18));
            out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        }
        return true;
    }

    bool readNumber(double& number) {
        // JSON's grammar, stricter than from_chars: no "+", no leading zeros, no "1.".
        const std::size_t start = at_;
        auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ - from;
        };
        word("-");
        const std::size_t whole = at_;
        if (digits() == 0 || (text_[whole] == '0' && at_ - whole > 1))
            return false;
        if (word(".") && digits() == 0)
            return false;
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (!word("+"))
                word("-");
            if (digits() == 0)
                return false;
        }
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, number);
        return error == std::errc() && end == text_.data() + at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key)
            return &items[i];
    }
    return nullptr;
}

std::string_view JsonValue::textOf(std::string_view key) const {
    const JsonValue* value = member(key);
    return value != nullptr && value->kind == Kind::String ? std::string_view(value->text) : "";
}

std::optional<JsonValue> readJson(std::string_view text) {
    return Reader(text).whole();
}

}  // namespace treld
