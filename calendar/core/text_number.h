#pragma once

#include <string_view>

namespace kirnal {

// The value of the decimal number at the start of a text: leading blanks skipped, an optional
// sign, digits with an optional fraction; reading stops at the first character that cannot
// continue the number. A text without digits gives 0.
double leadingNumber(std::string_view text);

}  // namespace kirnal
