// Number reading shared by every field that turns text into a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace treld {

using Int16 = std::int16_t;

// The leading decimal number of a text: leading blanks skipped, an optional
// sign, digits and one decimal point; reading stops at the first character
// that cannot continue the number. A text without digits gives 0.
double leadingNumber(std::string_view text);

// Rounds to the nearest integer with halves going to the even neighbour and
// keeps it only when it fits a signed 16-bit integer.
std::optional<Int16> toInt16RoundedEven(double value);

// A single status character: a decimal digit gives its value, anything else 0.
Int16 digitValue(char c);

// A non-negative number written with "0"s in front to three characters.
std::string threeDigits(int value);

// A number with at least two digits: a single digit gets a "0" in front.
std::string twoDigits(int value);

// "hh:mm", each with at least two digits.
std::string hoursMinutes(int hour, int minute);

// Exactly `width` decimal digits at `from` (counted from 0) as a number; -1
// when the text ends first or one of them is not a digit.
int fixedDigits(std::string_view text, std::size_t from, std::size_t width);

// The characters [first, first+count) of a text counted from position 1;
// positions beyond the end are simply missing.
std::string_view positions(std::string_view text, std::size_t first, std::size_t count);

}  // namespace treld
