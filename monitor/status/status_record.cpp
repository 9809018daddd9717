#include "status/status_record.h"

#include <algorithm>

#include "status/status_controls.h"

namespace treld {
namespace {

constexpr FlagPosition kFlags[] = {
    {2, 0, "S1 Volt out of toler.", kSource1Fault, "S1 voltage out of toler",
     "S1 voltage out of toler"},
    {3, 1, "S1 phase sequency", kSource1Fault, "S1 phase sequency", "S1 phase sequency"},
    {4, -1, "", {}, "", ""},
    {5, 3, "S1 blackout", kSource1Fault, "S1 Black out", "S1 Black out"},
    {6, 4, "S1 balance", kSource1Fault, "S1 balance bad", "S1 balance bad"},
    {7, 5, "S1 frequency", kSource1Fault, "S1 frequency bad", "S1 frequency bad"},
    {8, 6, "S1 input SW off", kSource1Fault, "S1 input sw off", "S1 input sw off"},
    {9, 2, "S1 SCR bad", kSource1Fault, "S1 SCR failure", "S1 SCR failure"},
    {11, 8, "S2 Volt out of toler.", kSource2Fault, "S2 voltage out of toler",
     "S2 voltage out of toler"},
    {12, 9, "S2 phase sequency", kSource2Fault, "S2 phase sequency", "S2 phase sequency"},
    {13, -1, "", {}, "", ""},
    {14, 11, "S2 blackout", kSource2Fault, "S2 Black out", "S2 Black out"},
    {15, 12, "S2 balance", kSource2Fault, "S2 balance bad", "S2 balance bad"},
    {16, 13, "S2 frequency", kSource2Fault, "S2 frequency bad", "S2 frequency bad"},
    {17, 14, "S2 input SW off", kSource2Fault, "S2 input sw off", "S2 input sw off"},
    {18, 10, "S2 SCR bad", kSource2Fault, "S2 SCR failure", "S2 SCR failure"},
    {20, 16, "Source1 BAD", {}, "", "S1 BAD"},
    {21, 17, "Source2 BAD ", {}, "", "S2 BAD"},
    {22, 18, "Syncron BAD", {}, "", ""},
    {23, 19, "Overload", kOutputFault, "Overload", "Overload"},
    {24, 20, "non sync inhibit", kOutputFault, "Non sync. inhibit", "Non sync. inhibit"},
    {25, 21, "transfer inhibit", kOutputFault, "Transfer inhibit", "Transfer inhibit"},
    {26, 22, "Overtemperature", kOutputFault, "Overtemperature", "Overtemperature"},
    {27, 23, "Transfer Test", kOutputFault, "Transfer test", "Transfer test"},
    {29, 24, "DC PSP 1 failure", {}, "", "PSP1 failure"},
    {30, 25, "DC PSP 2 failure", {}, "", "PSP2 failure"},
    {31, 26, "Output BAD", {}, "", ""},
    {32, 27, "manual xfer to S1", kOutputFault, "Manual XFER to S1", "Manual XFER to S1"},
    {33, 28, "manual xfer to S2", kOutputFault, "Manual XFER to S2", "Manual XFER to S2"},
    {34, 29, "bypass to S1", kOutputFault, "Maint. bypass to S1", "Maint. bypass to S1"},
    {35, 30, "bypass to S2", kOutputFault, "Maint. bypass to S2", "Maint. bypass to S2"},
    {36, 31, "Output SW off", kOutputFault, "Output switch off", "Output SW.off"},
};

std::array<const FlagPosition*, kLampCount> sortLamps() {
    std::array<const FlagPosition*, kLampCount> lamps{};
    std::size_t n = 0;
    for (const FlagPosition& flag : kFlags) {
        if (flag.lamp >= 0)
            lamps[n++] = &flag;
    }
    std::sort(lamps.begin(), lamps.end(),
              [](const FlagPosition* a, const FlagPosition* b) { return a->lamp < b->lamp; });
    return lamps;
}

}  // namespace

std::span<const FlagPosition> flagPositions() {
    return kFlags;
}

const std::array<const FlagPosition*, kLampCount>& lampsInOrder() {
    static const std::array<const FlagPosition*, kLampCount> lamps = sortLamps();
    return lamps;
}

}  // namespace treld
