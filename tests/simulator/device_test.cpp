#include "device.h"

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

#include <string>

namespace sts {
namespace {

DeviceSetup testSetup() {
    DeviceSetup setup;
    setup.clockStart = {2026, 12, 5, 14, 5, 0};
    return setup;
}

std::string ask(Device& device, const std::string& command, Millis now = 0) {
    return device.handle(command, now).value_or("<none>");
}

// Status record character at a 1-based position.
char at(const std::string& record, int position) {
    return record.at(position - 1);
}

void expectNumericLayout(const std::string& reply, std::size_t length,
                         std::initializer_list<int> spaces) {
    ASSERT_EQ(reply.size(), length + 1) << reply;
    EXPECT_EQ(reply.front(), '#');
    EXPECT_EQ(reply.back(), '\r');
    for (std::size_t i = 1; i < length; ++i) {
        const bool space = std::find(spaces.begin(), spaces.end(), int(i + 1)) != spaces.end();
        EXPECT_EQ(reply[i] == ' ', space) << "position " << i + 1 << " of " << reply;
        if (!space) {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(reply[i]))) << reply;
        }
    }
}

TEST(DeviceReplies, MeasurementLayoutsHoldInEveryState) {
    Device device(testSetup(), 0);
    for (Condition c : {Condition::Blackout, Condition::VoltageBad, Condition::Overload,
                        Condition::OverTemperature, Condition::OutputSwitchOff}) {
        device.plant().setCondition(c, 0, true, 0);
        expectNumericLayout(ask(device, "SRV"), 34, {5, 9, 13, 17, 21, 25, 30});
        expectNumericLayout(ask(device, "OPL"), 32, {5, 9, 13, 17, 21, 25, 29});
    }
}

TEST(DeviceReplies, MeasurementsFollowFaults) {
    Device device(testSetup(), 0);
    device.plant().setCondition(Condition::Blackout, 0, true, 0);
    device.plant().setCondition(Condition::FrequencyBad, 1, true, 0);
    const std::string srv = ask(device, "SRV");
    EXPECT_EQ(srv.substr(0, 12), "#000 000 000");
    EXPECT_EQ(srv.substr(25, 9), "0000 0470");
    EXPECT_EQ(ask(device, "OPL").substr(0, 24), "#000 000 000 000 000 000");  // no source left

    Device overloaded(testSetup(), 0);
    overloaded.plant().setCondition(Condition::Overload, 0, true, 0);
    EXPECT_GE(std::stoi(ask(overloaded, "OPL").substr(1, 3)), 100);
}

TEST(DeviceReplies, TextRepliesAndClock) {
    Device device(testSetup(), 0);
    EXPECT_EQ(ask(device, "CLK", 61'000), "#14:06:01\r");
    EXPECT_EQ(ask(device, "DAT"), "#05/12/26\r");
    EXPECT_EQ(ask(device, "ACL23:59"), "OK\r");
    EXPECT_EQ(ask(device, "AD311226"), "OK\r");
    EXPECT_EQ(ask(device, "CLK", 60'000), "#00:00:00\r");
    EXPECT_EQ(ask(device, "DAT", 60'000), "#01/01/27\r");
    for (const char* bad : {"ACL24:00", "ACL1205", "AD310226", "AD0112", "AD00122x"}) {
        EXPECT_EQ(ask(device, bad), "INVALID DATA\r") << bad;
    }
    EXPECT_EQ(ask(device, ""), "<none>");
    EXPECT_EQ(ask(device, "XYZ"), "INVALID DATA\r");
    EXPECT_EQ(ask(device, "FIR").back(), '\r');
}

struct StatusCase {
    const char* name;
    Condition condition;
    int source;
    std::string expectedOnes;  // positions 2..36 that read "1"
    char indicator;
};

TEST(DeviceStatus, RecordFollowsState) {
    const StatusCase cases[] = {
        {"s1 blackout", Condition::Blackout, 0, "5 20 22 25", '1'},
        {"s1 voltage", Condition::VoltageBad, 0, "2 20 25", '1'},
        {"s2 frequency", Condition::FrequencyBad, 1, "16 21 22 25", '0'},
        {"s2 input off", Condition::InputSwitchOff, 1, "17 21 25", '0'},
        {"s1 bypass", Condition::BypassOn, 0, "34", '0'},
        {"output switch", Condition::OutputSwitchOff, 0, "31 36", '0'},
        {"overload", Condition::Overload, 0, "23", '0'},
        {"overtemp", Condition::OverTemperature, 0, "26", '0'},
    };
    for (const StatusCase& c : cases) {
        Device device(testSetup(), 0);
        device.plant().setCondition(c.condition, c.source, true, 0);
        const std::string record = ask(device, "SAS");
        ASSERT_EQ(record.size(), 43u) << c.name;
        EXPECT_EQ(at(record, 1), '#');
        for (int separator : {10, 19, 28, 37}) {
            EXPECT_EQ(at(record, separator), ' ') << c.name;
        }
        std::string ones;
        for (int position = 2; position <= 36; ++position) {
            if (at(record, position) == '1') {
                ones += (ones.empty() ? "" : " ") + std::to_string(position);
            }
        }
        EXPECT_EQ(ones, c.expectedOnes) << c.name;
        EXPECT_EQ(at(record, 38), c.indicator) << c.name;
        EXPECT_EQ(at(record, 39), '0') << c.name;
        EXPECT_EQ(record.back(), '\r');
    }
}

TEST(DeviceStatus, TransfersAndPathCodes) {
    Device device(testSetup(), 0);
    ASSERT_EQ(ask(device, "U1111"), "OK\r");
    EXPECT_EQ(ask(device, "XF2"), "OK\r");
    std::string record = ask(device, "SAS");
    EXPECT_EQ(record.substr(31, 2), "01");  // manual transfer to source 2
    EXPECT_EQ(record.substr(37, 5), "13001");

    ASSERT_EQ(ask(device, "P9999"), "OK\r");
    EXPECT_EQ(ask(device, "CXF"), "OK\r");
    EXPECT_EQ(ask(device, "SOF"), "OK\r");
    // Back on the preferred source only after the return delay (option 2, 5 s).
    EXPECT_EQ(ask(device, "SAS", 1000).substr(37, 5), "10110");
    EXPECT_EQ(ask(device, "SAS", 6000).substr(37, 5), "00110");

    EXPECT_EQ(ask(device, "TST", 7000), "OK\r");
    record = ask(device, "SAS", 7000);
    EXPECT_EQ(at(record, 27), '1');
    EXPECT_EQ(record.substr(37, 2), "15");
    EXPECT_EQ(ask(device, "SAS", 12'500).substr(26, 1) + ask(device, "SAS", 12'500).substr(37, 2),
              "000");
}

TEST(DeviceAccess, CommandsNeedTheRightLogin) {
    Device device(testSetup(), 0);
    for (const char* command : {"XF1", "TST", "INH", "SOF", "W0032001"}) {
        EXPECT_EQ(ask(device, command), "LOGON PLEASE\r") << command;
    }
    EXPECT_EQ(ask(device, "U9999"), "ACCESS DENIED\r");
    EXPECT_EQ(ask(device, "SAS").substr(39, 3), "000");
    EXPECT_EQ(ask(device, "U1111"), "OK\r");
    EXPECT_EQ(ask(device, "SAS").substr(39, 3), "001");
    EXPECT_EQ(ask(device, "XF1"), "OK\r");
    EXPECT_EQ(ask(device, "W0032000"), "OK\r");
    for (const char* command : {"TST", "INH", "IHR"}) {
        EXPECT_EQ(ask(device, command), "ACCESS DENIED\r") << command;
    }
    EXPECT_EQ(ask(device, "P9999"), "OK\r");
    EXPECT_EQ(ask(device, "SAS").substr(39, 3), "100");
    EXPECT_EQ(ask(device, "INH"), "OK\r");
    EXPECT_EQ(ask(device, "OUT"), "OK\r");
    EXPECT_EQ(ask(device, "IHR"), "LOGON PLEASE\r");
}

TEST(DeviceAccess, LoginLapsesUnlessRepeated) {
    Device device(testSetup(), 0);
    ASSERT_EQ(ask(device, "P9999", 0), "OK\r");
    EXPECT_EQ(ask(device, "P9999", 50'000), "OK\r");  // the keep-alive
    EXPECT_EQ(ask(device, "SAS", 109'000).at(39), '1');
    EXPECT_EQ(ask(device, "SAS", 110'000).at(39), '0');
    EXPECT_EQ(ask(device, "XF1", 110'000), "LOGON PLEASE\r");
}

TEST(DeviceOptions, ReadWriteRoundTrip) {
    Device device(testSetup(), 0);
    EXPECT_EQ(ask(device, "M0032"), "#000\r");
    EXPECT_EQ(ask(device, "M0034"), "#005\r");
    for (const char* bad : {"M0031", "M0045", "M003", "M00x2"}) {
        EXPECT_EQ(ask(device, bad), "INVALID DATA\r") << bad;
    }
    ASSERT_EQ(ask(device, "U1111"), "OK\r");
    EXPECT_EQ(ask(device, "W0032001"), "OK\r");
    EXPECT_EQ(ask(device, "W0034120"), "OK\r");
    EXPECT_EQ(ask(device, "W0037003"), "OK\r");
    for (const char* bad :
         {"W0032002", "W0034256", "W0045000", "W003200", "W00320011", "W0x32001"}) {
        EXPECT_EQ(ask(device, bad), "INVALID DATA\r") << bad;
    }
    EXPECT_EQ(ask(device, "M0032"), "#001\r");
    EXPECT_EQ(ask(device, "M0034"), "#120\r");
    EXPECT_EQ(ask(device, "M0037"), "#003\r");
    // Source 2 preferred now: after the return delay the load moves there.
    EXPECT_EQ(ask(device, "SAS", 120'000).at(37), '1');
}

TEST(DeviceLog, RecordsFollowEvents) {
    Device device(testSetup(), 0);
    EXPECT_EQ(ask(device, "LOG000"), "$005 000 000 000 014 005 005 012 026\r");  // power-up
    EXPECT_EQ(ask(device, "LOG001"), "$006 006 000 000 000 000 000 000 000\r");
    EXPECT_EQ(ask(device, "LOG127"), "$006 006 000 000 000 000 000 000 000\r");
    for (const char* bad : {"LOG128", "LOG12", "LOGabc"}) {
        EXPECT_EQ(ask(device, bad), "INVALID DATA\r") << bad;
    }
    ASSERT_EQ(ask(device, "U1111", 60'000), "OK\r");
    device.plant().setCondition(Condition::Blackout, 0, true, 120'000);
    device.plant().setCondition(Condition::BypassOn, 1, true, 180'000);
    // Newest first: bypass, the new conditions, the transfer to source 2, the user login.
    EXPECT_EQ(ask(device, "LOG000").substr(0, 17), "$010 037 000 004 ");
    EXPECT_EQ(ask(device, "LOG001").substr(0, 17), "$000 037 000 004 ");
    EXPECT_EQ(ask(device, "LOG002"), "$004 037 000 004 014 007 005 012 026\r");
    EXPECT_EQ(ask(device, "LOG003"), "$008 000 000 000 014 006 005 012 026\r");
    EXPECT_EQ(ask(device, "LOG004").substr(0, 4), "$005");
}

TEST(DeviceLog, FullLogDropsTheOldest) {
    Device device(testSetup(), 0);
    for (int i = 0; i < 140; ++i) {
        device.plant().setCondition(Condition::Overload, 0, i % 2 == 0, 0);
    }
    EXPECT_EQ(ask(device, "LOG127").substr(0, 4), "$000");  // the power-up record is gone
}

}  // namespace
}  // namespace sts
