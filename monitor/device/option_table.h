// The thirteen device options: the one place where an option's number,
// caption, read command, value encoding and value texts are fixed.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "foundation/numeric.h"

namespace treld {

enum class OptionKind { Choice, Number };

struct OptionSpec {
    Int16 number;  // index of Label5, Label32, Combo1 / Label30 + UpDown1
    std::string_view caption;
    std::string_view readCommand;
    OptionKind kind;
    Int16 mask;  // choice options: the bits of the reply value that count
    std::array<std::string_view, 4> valueTexts;  // by masked value; unused entries empty
    bool writable;                               // "Update STS" may write it

    // The value texts in value order: a selector's list positions.
    int valueCount() const;
};

inline constexpr int kOptionCount = 13;

extern const std::array<OptionSpec, kOptionCount> kOptionTable;

// "W0" + three-digit parameter code (32 + n) + three-digit value + CR.
std::string optionWriteCommand(int number, int value);

// The value of an option reply: the number in its characters 2 to 4.
Int16 optionReplyValue(std::string_view reply);

}  // namespace treld
