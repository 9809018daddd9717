// The log recovery at wire pace, in virtual time: how long from "Link restored" to the last
// recovered line, and the measurement cycle's pace (status reads per minute) while the log is
// read against without it. Each reply arrives after the time its command and its characters
// take at 2400 baud (240 characters a second).
#include <algorithm>
#include <iostream>

#include "support/virtual_rig.h"

using namespace treld::testing;

namespace {

int wireMs(std::size_t characters) {
    return int(characters * 1000 / 240);
}

long count(const Texts& texts, const std::string& text) {
    return std::count(texts.begin(), texts.end(), text);
}

long recoveredLines(VirtualRig& rig) {
    const std::string log = rig.readFile("SERLOGS/2026-12.TXT");
    long lines = 0;
    for (std::size_t at = 0; (at = log.find("\n 110 ", at)) != std::string::npos; ++at)
        ++lines;
    return lines;
}

}  // namespace

int main() {
    VirtualRig rig("COMPORT:1\r\nTIMEOUT:1000\r\n");
    // Command, CR and the reply's length on the wire.
    const std::pair<const char*, std::size_t> sizes[] = {
        {"SRV", 36}, {"OPL", 36}, {"SST", 5}, {"SAS", 44}, {"FIR", 31}, {"CLK", 10}, {"DAT", 10}};
    for (const auto& [command, reply] : sizes)
        rig.fault(command).delayMs = wireMs(4 + reply);
    for (int record = 0; record < 128; ++record)
        rig.fault("LOG" + treld::threeDigits(record)).delayMs = wireMs(7 + 37);
    rig.start();
    rig.advance(60'000);
    const long before = count(rig.commandsSent(), "SAS");
    rig.advance(120'000);
    const double normalPerMinute = (count(rig.commandsSent(), "SAS") - before) / 2.0;

    rig.line.cut = true;
    for (auto& [command, fault] : rig.faults)
        fault.cut = true;
    rig.advance(30'000);
    rig.sts.plant().setCondition(sts::Condition::Blackout, 0, true, rig.now());
    rig.advance(30'000);
    rig.sts.plant().clearSourceFaults(0, rig.now());
    rig.advance(30'000);
    rig.line.cut = false;
    for (auto& [command, fault] : rig.faults)
        fault.cut = false;
    rig.runUntil(
        [&] { return rig.readFile("SERLOGS/2026-12.TXT").find(" 201 ") != std::string::npos; });
    const std::int64_t restored = rig.now();
    const long statusBefore = count(rig.commandsSent(), "SAS");
    rig.runUntil([&] { return recoveredLines(rig) > 0; }, 600'000);
    const std::int64_t done = rig.now();
    const double minutes = double(done - restored) / 60'000;
    const double recoveringPerMinute = (count(rig.commandsSent(), "SAS") - statusBefore) / minutes;
    std::cout << "recovered lines: " << recoveredLines(rig) << "\n"
              << "from \"Link restored\" to the last recovered line: " << (done - restored) / 1000.0
              << " s\n"
              << "status reads per minute: " << normalPerMinute << " without recovery, "
              << recoveringPerMinute << " during it ("
              << 100 * recoveringPerMinute / normalPerMinute << " %)\n";
}
