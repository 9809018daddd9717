// The simulated device: its answers, its status record and event log, and
// the scenarios that play faults on it.
#include "device.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "command_line.h"
#include "scenario.h"
#include "wire_pace.h"

namespace sts {
namespace {

// Plays steps "ms command answer", separated by '|', on `device`. The answer
// goes without its CR; in it '?' stands for any one character, a final '*'
// for any rest, and "-" for no answer at all.
void play(Device& device, const std::string& script) {
    std::istringstream steps(script);
    for (std::string step; std::getline(steps, step, '|');) {
        std::istringstream fields(step);
        Millis at = 0;
        std::string command, expected, pattern;
        fields >> at >> command >> std::ws;
        std::getline(fields, expected);
        for (char c : expected)
            pattern += c == '?' ? "." : c == '*' ? ".*" : std::string(c == '$', '\\') + c;
        const std::string answer = device.handle(command, at).value_or("-\r");
        EXPECT_TRUE(std::regex_match(answer, std::regex(pattern + "\r"))) << step << ": " << answer;
    }
}

Device freshDevice() {
    DeviceSetup setup;
    setup.clockStart = {2026, 12, 5, 14, 5, 0};
    return Device(setup, 0);
}

TEST(DeviceReplies, RefusalsOptionsClockDateAndTheEventLog) {
    Device device = freshDevice();
    play(device,
         "0 LOG000 $005 000 000 000 014 005 005 012 026|0 LOG127 $006 006 000 000 000 000 000 000 "
         "000|0 LOG128 INVALID DATA|0 XYZ INVALID DATA|0 ACL24:00 INVALID DATA|0 ACL1205 INVALID "
         "DATA|"
         "0 AD310226 INVALID DATA|0 AD0112 INVALID DATA|0 AD00122x INVALID DATA|"
         "0 M0031 INVALID DATA|0 M0045 INVALID DATA|0 M003 INVALID DATA|0 M00x2 INVALID DATA|"
         "0 W0032001 LOGON PLEASE|0 U1111 OK|0 W0032001 OK|0 W0034120 OK|0 W0037003 OK|"
         "0 W0032002 INVALID DATA|0 W0034256 INVALID DATA|0 W0045000 INVALID DATA|"
         "0 W003200 INVALID DATA|0 W00320011 INVALID DATA|0 W0x32001 INVALID DATA|"
         "0 M0032 #001|0 M0034 #120|0 M0037 #003|"
         // source 2 preferred now: after the return delay the load moves there
         "121000 SAS #???????? ???????? ???????? ???????? 1????|"
         "121000 ACL23:59 OK|121000 AD311226 OK|181000 CLK #00:00:00|181000 DAT #01/01/27");
    EXPECT_FALSE(device.handle("", 0));
}

TEST(DeviceAccess, CommandsNeedTheRightLoginWhichLapsesUnlessRepeatedAndTransfersFollowThem) {
    Device device = freshDevice();
    play(device,
         "0 XF1 LOGON PLEASE|0 TST LOGON PLEASE|0 SOF LOGON PLEASE|0 U9999 ACCESS DENIED|"
         "0 U1111 OK|0 SAS #00000000 00000000 00000000 00000000 00001|0 TST ACCESS DENIED|"
         "0 IHR ACCESS DENIED|0 P9999 OK|0 SAS #* 00100|0 INH OK|0 OUT OK|0 IHR LOGON PLEASE|"
         "0 P9999 OK|50000 P9999 OK|109000 SAS #* ??1??|110000 SAS #* ??0??|"
         "110000 XF1 LOGON PLEASE");
    Device fresh = freshDevice();
    play(fresh,
         // a manual transfer to source 2: positions 32, 33 and path code 3
         "0 U1111 OK|0 XF2 OK|0 SAS #???????? ???????? ???????? ???01??? 13001|"
         // back on the preferred source only after the return delay (5 s)
         "0 P9999 OK|0 CXF OK|0 SOF OK|1000 SAS #* 10110|6000 SAS #* 00110|"
         // transfer test: position 27 and path code 5 for 5 s
         "7000 TST OK|7000 SAS #???????? ???????? ???????1 ???????? 15???|"
         "12500 SAS #???????? ???????? ???????0 ???????? 00???");
}

TEST(DeviceStatus, RecordFollowsTheConditionsAndTheMeasurementsKeepTheirLayout) {
    const std::tuple<Condition, int, const char*> cases[] = {
        {Condition::Blackout, 0, "#00010000 00000000 10100100 00000000 10???"},
        {Condition::VoltageBad, 0, "#10000000 00000000 10000100 00000000 10???"},
        {Condition::FrequencyBad, 1, "#00000000 00000100 01100100 00000000 00???"},
        {Condition::InputSwitchOff, 1, "#00000000 00000010 01000100 00000000 00???"},
        {Condition::BypassOn, 0, "#00000000 00000000 00000000 00000100 00???"},
        {Condition::OutputSwitchOff, 0, "#00000000 00000000 00000000 00100001 00???"},
        {Condition::Overload, 0, "#00000000 00000000 00010000 00000000 00???"},
        {Condition::OverTemperature, 0, "#00000000 00000000 00000010 00000000 00???"},
    };
    for (const auto& [condition, source, status] : cases) {
        Device device = freshDevice();
        device.plant().setCondition(condition, source, true, 0);
        play(
            device,
            std::string("0 SAS ") + status +
                "|0 SRV #??? ??? ??? ??? ??? ??? ???? ????|0 OPL #??? ??? ??? ??? ??? ??? ??? ???");
        const int load = std::stoi(device.handle("OPL", 0)->substr(1, 3));
        EXPECT_TRUE(condition != Condition::Overload || load >= 100) << load;
    }
    Device device = freshDevice();
    device.plant().setCondition(Condition::FrequencyBad, 1, true, 0);
    device.plant().setCondition(Condition::Blackout, 0, true, 0);  // no source left
    play(device, "0 SRV #000 000 000 ??? ??? ??? 0000 0470|0 OPL #000 000 000 000 000 000 *");
}

TEST(Scenario, ReadsEveryKindOfStepAndPlaysThemOnTimeAndRepeats) {
    std::string error;
    std::istringstream text(
        "# demo\n\n500ms source1 blackout\n1s source2 frequency-bad   # comment after a step\n"
        "2s source1 restore\n3s source2 input off\n3s source1 bypass on\n3s output-switch off\n"
        "4s overtemp off\n5s no-cr off\n5s cut on\n6s chunks 3\n6s delay 250\n7s repeat\n");
    auto scenario = parseScenario(text, error);
    ASSERT_TRUE(scenario) << error;
    const auto& steps = scenario->steps;
    ASSERT_EQ(steps.size(), 12u);
    EXPECT_TRUE(steps[3].condition == Condition::InputSwitchOff && steps[3].source == 1);
    EXPECT_TRUE(steps[3].on && steps[5].on && !steps[7].on);  // "output-switch off" sets a fault
    Device device(DeviceSetup{}, 0);
    LinkFaults faults;
    ScenarioPlayer player(std::move(*scenario), 0);
    auto source1At = [&](Millis now) {  // source 1's first voltage after playing up to `now`
        player.run(now, device.plant(), faults);
        return device.handle("SRV", now)->substr(1, 3);
    };
    EXPECT_EQ(source1At(500), "000");
    EXPECT_EQ(device.plant().feedingSource(), 1);
    EXPECT_NE(source1At(2000), "000");
    EXPECT_TRUE(source1At(7499) != "000" && faults.chunks == 3 && faults.delayMs == 250);
    EXPECT_TRUE(faults.cut && ReplyShaper(1).shape("#1\r", faults, 7499).empty());
    EXPECT_EQ(source1At(7500), "000");  // second round: black-out again
}

TEST(ScenarioParse, BrokenLinesAreNamed) {
    const std::pair<std::string, const char*> cases[] = {
        {"10 source1 blackout", "line 1: bad time"},
        {"1s\n", "line 1: missing subject"},
        {"1s source3 blackout", "line 1: unknown subject 'source3'"},
        {"1s source1 melt", "line 1: expected blackout"},
        {"1s source1 input maybe", "line 1: expected on or off"},
        {"1s chunks 0", "line 1: expected a number of pieces"},
        {"1s delay 70000", "line 1: expected milliseconds"},
        {"# ok\n5s overload on\n2s overload off", "line 3: time goes backwards"},
        {"5s repeat\n6s overload on", "line 2: nothing may follow repeat"},
        {"500ms repeat", "line 1: repeat needs a time of at least 1s"},
        {"1s overload on now", "line 1: too many words"},
        {"1s overload on\n#" + std::string(100'000, '#'), "line 2: line too long"},
    };
    for (const auto& [given, expected] : cases) {
        std::string error;
        std::istringstream text(given);
        EXPECT_FALSE(parseScenario(text, error)) << given.substr(0, 40);
        EXPECT_EQ(error.rfind(expected, 0), 0u) << given.substr(0, 40) << " -> " << error;
    }
}

TEST(WirePace, EachCharacterTakesItsTimeInOrderAndWithoutABaudAllPassAtOnce) {
    WirePace line(2400);  // 4166 us a character
    line.put("SRV\r", 1000);
    line.put("X", 0);  // behind the command, however early it came
    EXPECT_EQ(line.take(1000 + 3 * 4166), "SRV");
    EXPECT_EQ(line.nextDue(), 1000 + 4 * 4166);
    EXPECT_EQ(line.take(1000 + 5 * 4166), "\rX");
    WirePace unpaced(0);
    unpaced.put("OK\r", 50);
    EXPECT_EQ(unpaced.take(49), "");
    EXPECT_EQ(unpaced.take(50), "OK\r");
}

TEST(SimulatorCommandLine, ManySwitchesAtWirePaceOnTcpPortsAndTheConflicts) {
    std::string error;
    const auto many = parseCommandLine({"--baud", "2400", "--count", "3", "--tcp", "4001"}, error);
    ASSERT_TRUE(many);
    EXPECT_EQ(std::tuple(many->baud, many->count, many->tcpPort), std::tuple(2400, 3, 4001));
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--count", "0"},
                                                                 {"--baud", "10"},
                                                                 {"--tcp", "65535", "--count", "2"},
                                                                 {"--tcp", "4001", "--link", "x"},
                                                                 {"--device", "d", "--count", "2"}})
        EXPECT_FALSE(parseCommandLine(bad, error)) << bad[0];
}

}  // namespace
}  // namespace sts
