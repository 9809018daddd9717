#include "device/option_table.h"

namespace treld {

using enum OptionKind;

const std::array<OptionSpec, kOptionCount> kOptionTable = {{
    {0, "preferred source", "M0032", Choice, 1, {"Source 1", "Source 2"}, true},
    {1, "re transfer", "M0033", Choice, 1, {"Off", "On"}, true},
    {2, "return delay", "M0034", Number, 0, {}, false},
    {3, "overload inhibit", "M0035", Choice, 1, {"Disable", "Enable"}, true},
    {4, "alarm hold time", "M0036", Number, 0, {}, false},
    {5,
     "Nonsynchron transfer mode",
     "M0037",
     Choice,
     3,
     {"Disable", "Delay", "Disable", "Zero Current"},
     true},
    {6, "overload reset", "M0038", Choice, 1, {"Automatic", "Manual"}, true},
    {7, "inhibit reset", "M0039", Choice, 1, {"Automatic", "Manual"}, true},
    {8, "remote access", "M0040", Choice, 1, {"OFF", "ON"}, true},
    {9,
     "Nonsynchron retransfer mode",
     "M0041",
     Choice,
     3,
     {"Wait synchron", "Delay", "0-Current", "Flying XFER"},
     true},
    {10, "phase sequency alarm", "M0042", Choice, 1, {"Off", "On"}, true},
    {11, "SCR fault alarm", "M0043", Choice, 1, {"Off", "On"}, false},
    {12, "Nonsynchron Manual XFER mode", "M0044", Choice, 1, {"0-Current", "Flying"}, false},
}};

int OptionSpec::valueCount() const {
    return kind == Choice ? mask + 1 : 0;
}

std::string optionWriteCommand(int number, int value) {
    return "W0" + threeDigits(32 + number) + threeDigits(value) + "\r";
}

Int16 optionReplyValue(std::string_view reply) {
    return toInt16RoundedEven(leadingNumber(positions(reply, 2, 3))).value_or(0);
}

}  // namespace treld
