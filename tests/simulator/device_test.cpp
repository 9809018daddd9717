#include "device.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace sts {
namespace {

Device freshDevice() {
    DeviceSetup setup;
    setup.clockStart = {2026, 12, 5, 14, 5, 0};
    return Device(setup, 0);
}

std::string ask(Device& device, const std::string& command, Millis now = 0) {
    return device.handle(command, now).value_or("<none>");
}

void expectRefused(Device& device, std::initializer_list<const char*> commands,
                   const std::string& reply) {
    for (const char* command : commands)
        EXPECT_EQ(ask(device, command), reply) << command;
}

TEST(DeviceReplies, MeasurementsKeepTheirLayoutAndFollowFaults) {
    const std::regex srv(R"(#(\d{3} ){6}\d{4} \d{4}\r)"), opl(R"(#(\d{3} ){7}\d{3}\r)");
    Device device = freshDevice();
    for (Condition c : {Condition::Overload, Condition::VoltageBad, Condition::OverTemperature,
                        Condition::OutputSwitchOff, Condition::Blackout}) {
        device.plant().setCondition(c, 0, true, 0);
        EXPECT_TRUE(std::regex_match(ask(device, "SRV"), srv)) << ask(device, "SRV");
        EXPECT_TRUE(std::regex_match(ask(device, "OPL"), opl)) << ask(device, "OPL");
        EXPECT_TRUE(c != Condition::Overload || std::stoi(ask(device, "OPL").substr(1, 3)) >= 100);
    }
    device.plant().setCondition(Condition::FrequencyBad, 1, true, 0);
    EXPECT_EQ(ask(device, "SRV").substr(0, 12), "#000 000 000");
    EXPECT_EQ(ask(device, "SRV").substr(25, 9), "0000 0470");
    EXPECT_EQ(ask(device, "OPL").substr(0, 24), "#000 000 000 000 000 000");  // no source left
}

TEST(DeviceReplies, ClockDateAndUnknownCommands) {
    Device device = freshDevice();
    EXPECT_EQ(ask(device, "ACL23:59"), "OK\r");
    EXPECT_EQ(ask(device, "AD311226"), "OK\r");
    EXPECT_EQ(ask(device, "CLK", 60'000), "#00:00:00\r");
    EXPECT_EQ(ask(device, "DAT", 60'000), "#01/01/27\r");
    expectRefused(device, {"ACL24:00", "ACL1205", "AD310226", "AD0112", "AD00122x", "XYZ"},
                  "INVALID DATA\r");
    EXPECT_EQ(ask(device, ""), "<none>");
}

TEST(DeviceStatus, RecordFollowsState) {
    const struct {
        Condition condition;
        int source;
        std::string ones;  // positions 2..36 that read "1"
        char indicator;
    } cases[] = {
        {Condition::Blackout, 0, "5 20 22 25", '1'},
        {Condition::VoltageBad, 0, "2 20 25", '1'},
        {Condition::FrequencyBad, 1, "16 21 22 25", '0'},
        {Condition::InputSwitchOff, 1, "17 21 25", '0'},
        {Condition::BypassOn, 0, "34", '0'},
        {Condition::OutputSwitchOff, 0, "31 36", '0'},
        {Condition::Overload, 0, "23", '0'},
        {Condition::OverTemperature, 0, "26", '0'},
    };
    for (const auto& c : cases) {
        Device device = freshDevice();
        device.plant().setCondition(c.condition, c.source, true, 0);
        const std::string record = ask(device, "SAS");
        ASSERT_TRUE(std::regex_match(record, std::regex(R"(#([01]{8} ){4}\d{5}\r)"))) << record;
        std::string ones;
        for (int position = 2; position <= 36; ++position) {
            if (record[position - 1] == '1')
                ones += (ones.empty() ? "" : " ") + std::to_string(position);
        }
        EXPECT_EQ(ones, c.ones);
        EXPECT_EQ(record.substr(37, 2), (std::string{c.indicator, '0'})) << c.ones;
    }
}

TEST(DeviceStatus, TransfersAndPathCodes) {
    Device device = freshDevice();
    ASSERT_EQ(ask(device, "U1111"), "OK\r");
    EXPECT_EQ(ask(device, "XF2"), "OK\r");
    EXPECT_EQ(ask(device, "SAS").substr(31, 2), "01");  // manual transfer to source 2
    EXPECT_EQ(ask(device, "SAS").substr(37, 5), "13001");

    ASSERT_EQ(ask(device, "P9999"), "OK\r");
    EXPECT_EQ(ask(device, "CXF"), "OK\r");
    EXPECT_EQ(ask(device, "SOF"), "OK\r");
    // Back on the preferred source only after the return delay (option 34, 5 s).
    EXPECT_EQ(ask(device, "SAS", 1000).substr(37, 5), "10110");
    EXPECT_EQ(ask(device, "SAS", 6000).substr(37, 5), "00110");

    EXPECT_EQ(ask(device, "TST", 7000), "OK\r");
    const std::string testing = ask(device, "SAS", 7000), after = ask(device, "SAS", 12'500);
    // Position 27 and path code 5 (test on source 2) for 5 s.
    EXPECT_EQ(testing.substr(26, 1) + testing.substr(37, 2), "115");
    EXPECT_EQ(after.substr(26, 1) + after.substr(37, 2), "000");
}

TEST(DeviceAccess, CommandsNeedTheRightLoginWhichLapsesUnlessRepeated) {
    Device device = freshDevice();
    expectRefused(device, {"XF1", "TST", "INH", "SOF", "W0032001"}, "LOGON PLEASE\r");
    EXPECT_EQ(ask(device, "U9999"), "ACCESS DENIED\r");
    EXPECT_EQ(ask(device, "U1111"), "OK\r");
    EXPECT_EQ(ask(device, "SAS").substr(39, 3), "001");
    EXPECT_EQ(ask(device, "XF1"), "OK\r");
    expectRefused(device, {"TST", "INH", "IHR"}, "ACCESS DENIED\r");
    EXPECT_EQ(ask(device, "P9999"), "OK\r");
    EXPECT_EQ(ask(device, "SAS").substr(39, 3), "100");
    EXPECT_EQ(ask(device, "INH"), "OK\r");
    EXPECT_EQ(ask(device, "OUT"), "OK\r");
    EXPECT_EQ(ask(device, "IHR"), "LOGON PLEASE\r");

    ASSERT_EQ(ask(device, "P9999", 0), "OK\r");
    EXPECT_EQ(ask(device, "P9999", 50'000), "OK\r");  // the keep-alive
    EXPECT_EQ(ask(device, "SAS", 109'000).at(39), '1');
    EXPECT_EQ(ask(device, "SAS", 110'000).at(39), '0');
    EXPECT_EQ(ask(device, "XF1", 110'000), "LOGON PLEASE\r");
}

TEST(DeviceOptions, ReadWriteRoundTrip) {
    Device device = freshDevice();
    expectRefused(device, {"M0031", "M0045", "M003", "M00x2"}, "INVALID DATA\r");
    ASSERT_EQ(ask(device, "U1111"), "OK\r");
    for (const char* write : {"W0032001", "W0034120", "W0037003"})
        EXPECT_EQ(ask(device, write), "OK\r") << write;
    expectRefused(device, {"W0032002", "W0034256", "W0045000", "W003200", "W00320011", "W0x32001"},
                  "INVALID DATA\r");
    EXPECT_EQ(ask(device, "M0032") + ask(device, "M0034") + ask(device, "M0037"),
              "#001\r#120\r#003\r");
    // Source 2 preferred now: after the return delay the load moves there.
    EXPECT_EQ(ask(device, "SAS", 120'000).at(37), '1');
}

TEST(DeviceLog, RecordsFollowEventsNewestFirstAndDropTheOldest) {
    Device device = freshDevice();
    EXPECT_EQ(ask(device, "LOG000"), "$005 000 000 000 014 005 005 012 026\r");  // power-up
    expectRefused(device, {"LOG128", "LOG12", "LOGabc"}, "INVALID DATA\r");
    ASSERT_EQ(ask(device, "U1111", 60'000), "OK\r");
    device.plant().setCondition(Condition::Blackout, 0, true, 120'000);
    device.plant().setCondition(Condition::BypassOn, 1, true, 180'000);
    // Bypass, the new conditions, the transfer to source 2, the user login, the power-up.
    EXPECT_EQ(ask(device, "LOG000").substr(0, 17), "$010 037 000 004 ");
    EXPECT_EQ(ask(device, "LOG001").substr(0, 17), "$000 037 000 004 ");
    EXPECT_EQ(ask(device, "LOG002"), "$004 037 000 004 014 007 005 012 026\r");
    EXPECT_EQ(ask(device, "LOG003"), "$008 000 000 000 014 006 005 012 026\r");
    EXPECT_EQ(ask(device, "LOG004").substr(0, 4), "$005");

    for (int i = 0; i < 140; ++i)
        device.plant().setCondition(Condition::Overload, 0, i % 2 == 0, 200'000);
    EXPECT_EQ(ask(device, "LOG127").substr(0, 4), "$000");  // the power-up record is gone
}

}  // namespace
}  // namespace sts
