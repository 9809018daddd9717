#include "option_table.h"

#include <cstdio>

#include "device_clock.h"

namespace sts {

int OptionTable::maximum(int option) {
    switch (option) {
        case ReturnDelay:
        case AlarmHoldTime:
            return 255;
        case NonsyncTransferMode:
        case NonsyncRetransferMode:
            return 3;
        default:
            return 1;
    }
}

std::optional<std::string> OptionTable::read(std::string_view command) const {
    if (command.size() != 5 || command.substr(0, 2) != "M0") {
        return std::nullopt;
    }
    const int option = parseDigits(command.substr(2, 3)) - kFirstCode;
    if (option < 0 || option >= kCount) {
        return std::nullopt;
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%03d\r", values_[option]);
    return text;
}

bool OptionTable::write(std::string_view codeAndValue) {
    if (codeAndValue.size() != 6) {
        return false;
    }
    const int code = parseDigits(codeAndValue.substr(0, 3));
    const int value = parseDigits(codeAndValue.substr(3, 3));
    const int option = code - kFirstCode;
    if (code < 0 || option < 0 || option >= kCount || value < 0 || value > maximum(option)) {
        return false;
    }
    values_[option] = value;
    return true;
}

}  // namespace sts
