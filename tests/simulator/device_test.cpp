#include "device.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace sts {
namespace {

// A command sent at a time, and its expected answer: '?' stands for any one
// character, a final '*' for any rest; "-" for no answer at all.
struct Step {
    Millis at;
    const char* command;
    std::string answer;
};

bool matches(std::string_view text, std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '*')
            return true;
        if (i >= text.size() || (pattern[i] != '?' && pattern[i] != text[i]))
            return false;
    }
    return text.size() == pattern.size();
}

void play(Device& device, std::initializer_list<Step> script) {
    for (const Step& step : script) {
        const std::string answer = device.handle(step.command, step.at).value_or("-");
        EXPECT_TRUE(matches(answer, step.answer))
            << step.command << " at " << step.at << ": " << answer << " for " << step.answer;
    }
}

Device freshDevice() {
    DeviceSetup setup;
    setup.clockStart = {2026, 12, 5, 14, 5, 0};
    return Device(setup, 0);
}

const std::string kIdle = "#00000000 00000000 00000000 00000000 ";
const std::string kAny = "#???????? ???????? ???????? ???????? ";
const char* const kInvalid = "INVALID DATA\r";

TEST(DeviceReplies, ClockDateOptionsAndRefusals) {
    Device device = freshDevice();
    play(device, {{0, "", "-"},
                  {0, "XYZ", kInvalid},
                  {0, "ACL24:00", kInvalid},
                  {0, "ACL1205", kInvalid},
                  {0, "AD310226", kInvalid},
                  {0, "AD0112", kInvalid},
                  {0, "AD00122x", kInvalid},
                  {0, "M0031", kInvalid},
                  {0, "M0045", kInvalid},
                  {0, "M003", kInvalid},
                  {0, "M00x2", kInvalid},
                  {0, "W0032001", "LOGON PLEASE\r"},
                  {0, "U1111", "OK\r"},
                  {0, "W0032001", "OK\r"},
                  {0, "W0034120", "OK\r"},
                  {0, "W0037003", "OK\r"},
                  {0, "W0032002", kInvalid},
                  {0, "W0034256", kInvalid},
                  {0, "W0045000", kInvalid},
                  {0, "W003200", kInvalid},
                  {0, "W00320011", kInvalid},
                  {0, "W0x32001", kInvalid},
                  {0, "M0032", "#001\r"},
                  {0, "M0034", "#120\r"},
                  {0, "M0037", "#003\r"},
                  // source 2 preferred now: after the return delay the load moves there
                  {121'000, "SAS", kAny + "1????\r"},
                  {121'000, "ACL23:59", "OK\r"},
                  {121'000, "AD311226", "OK\r"},
                  {181'000, "CLK", "#00:00:00\r"},
                  {181'000, "DAT", "#01/01/27\r"}});
}

TEST(DeviceAccess, CommandsNeedTheRightLoginWhichLapsesUnlessRepeated) {
    Device device = freshDevice();
    play(device, {{0, "XF1", "LOGON PLEASE\r"},
                  {0, "TST", "LOGON PLEASE\r"},
                  {0, "SOF", "LOGON PLEASE\r"},
                  {0, "U9999", "ACCESS DENIED\r"},
                  {0, "U1111", "OK\r"},
                  {0, "SAS", kIdle + "00001\r"},
                  {0, "XF1", "OK\r"},
                  {0, "TST", "ACCESS DENIED\r"},
                  {0, "IHR", "ACCESS DENIED\r"},
                  {0, "P9999", "OK\r"},
                  {0, "SAS", kAny + "??100\r"},
                  {0, "INH", "OK\r"},
                  {0, "OUT", "OK\r"},
                  {0, "IHR", "LOGON PLEASE\r"},
                  {0, "P9999", "OK\r"},
                  {50'000, "P9999", "OK\r"},  // the keep-alive
                  {109'000, "SAS", kAny + "??1??\r"},
                  {110'000, "SAS", kAny + "??0??\r"},
                  {110'000, "XF1", "LOGON PLEASE\r"}});
}

TEST(DeviceStatus, TransfersAndPathCodesFollowTheCommands) {
    Device device = freshDevice();
    play(device, {{0, "U1111", "OK\r"},
                  {0, "XF2", "OK\r"},
                  // manual transfer to source 2: positions 32, 33 and the path code
                  {0, "SAS", "#???????? ???????? ???????? ???01??? 13001\r"},
                  {0, "P9999", "OK\r"},
                  {0, "CXF", "OK\r"},
                  {0, "SOF", "OK\r"},
                  // back on the preferred source only after the return delay (5 s)
                  {1000, "SAS", kAny + "10110\r"},
                  {6000, "SAS", kAny + "00110\r"},
                  // transfer test: position 27 and path code 5 for 5 s
                  {7000, "TST", "OK\r"},
                  {7000, "SAS", "#???????? ???????? ???????1 ???????? 15???\r"},
                  {12'500, "SAS", "#???????? ???????? ???????0 ???????? 00???\r"}});
}

TEST(DeviceStatus, RecordFollowsTheConditionsAndTheMeasurementsKeepTheirLayout) {
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
    const std::regex srv(R"(#(\d{3} ){6}\d{4} \d{4}\r)"), opl(R"(#(\d{3} ){7}\d{3}\r)");
    for (const auto& c : cases) {
        Device device = freshDevice();
        device.plant().setCondition(c.condition, c.source, true, 0);
        const std::string record = device.handle("SAS", 0).value();
        ASSERT_TRUE(std::regex_match(record, std::regex(R"(#([01]{8} ){4}\d{5}\r)"))) << record;
        std::string ones;
        for (int position = 2; position <= 36; ++position) {
            if (record[position - 1] == '1')
                ones += (ones.empty() ? "" : " ") + std::to_string(position);
        }
        EXPECT_EQ(ones, c.ones);
        EXPECT_EQ(record.substr(37, 2), (std::string{c.indicator, '0'})) << c.ones;
        EXPECT_TRUE(std::regex_match(device.handle("SRV", 0).value(), srv)) << c.ones;
        const std::string output = device.handle("OPL", 0).value();
        EXPECT_TRUE(std::regex_match(output, opl)) << output;
        EXPECT_TRUE(c.condition != Condition::Overload || std::stoi(output.substr(1, 3)) >= 100);
    }
    Device device = freshDevice();
    device.plant().setCondition(Condition::FrequencyBad, 1, true, 0);
    device.plant().setCondition(Condition::Blackout, 0, true, 0);  // no source left
    play(device, {{0, "SRV", "#000 000 000 ??? ??? ??? 0000 0470\r"},
                  {0, "OPL", "#000 000 000 000 000 000 *"}});
}

TEST(DeviceLog, RecordsFollowEventsNewestFirstAndDropTheOldest) {
    Device device = freshDevice();
    play(device, {{0, "LOG000", "$005 000 000 000 014 005 005 012 026\r"},  // power-up
                  {0, "LOG128", kInvalid},
                  {0, "LOG12", kInvalid},
                  {0, "LOGabc", kInvalid},
                  {0, "LOG127", "$006 006 000 000 000 000 000 000 000\r"},
                  {60'000, "U1111", "OK\r"}});
    device.plant().setCondition(Condition::Blackout, 0, true, 120'000);
    device.plant().setCondition(Condition::BypassOn, 1, true, 180'000);
    // Bypass, the new conditions, the transfer to source 2, the user login, the power-up.
    play(device, {{180'000, "LOG000", "$010 037 000 004 *"},
                  {180'000, "LOG001", "$000 037 000 004 *"},
                  {180'000, "LOG002", "$004 037 000 004 014 007 005 012 026\r"},
                  {180'000, "LOG003", "$008 000 000 000 014 006 005 012 026\r"},
                  {180'000, "LOG004", "$005*"}});
    for (int i = 0; i < 140; ++i)
        device.plant().setCondition(Condition::Overload, 0, i % 2 == 0, 200'000);
    play(device, {{200'000, "LOG127", "$000*"}});  // the power-up record is gone
}

}  // namespace
}  // namespace sts
