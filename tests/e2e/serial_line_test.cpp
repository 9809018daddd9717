// The real treld on a pseudo-terminal, with the test playing the device:
// what crosses the line, and how the monitor paces itself.
#include <gtest/gtest.h>

#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

std::string answer(const std::string& command) {
    if (command == "SRV")
        return "#230 231 229 228 230 232 0500 0499\r";
    if (command == "OPL")
        return "#045 050 055 010 011 012 035 002\r";
    if (command == "SAS")
        return "#00000000 00000000 00000000 00000000 00000\r";
    if (command == "FIR")
        return "STS V2.07\r";
    if (command == "CLK")
        return "#14:05:10\r";
    if (command == "DAT")
        return "#05/12/26\r";
    return "#000\r";
}

class SerialLine : public ::testing::Test {
  protected:
    void startMonitor(int timeoutMs) {
        dir.install("treld");
        dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:" + std::to_string(timeoutMs) + "\r\n");
        monitor.emplace(dir.path() / "treld", std::vector<std::string>{},
                        std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                                           {"TRELD_COM1", line.monitorEnd()}});
    }
    ProgramDir dir;
    DeviceLine line;
    std::optional<Process> monitor;
};

TEST_F(SerialLine, CommandsGoOutInCycleOrderEachWithOneCrAndFollowTheirReplyPromptly) {
    startMonitor(2000);
    std::vector<std::string> commands;
    Clock::time_point answeredAt;
    for (int i = 0; i < 15; ++i) {
        const auto command = line.nextCommand(5s);
        ASSERT_TRUE(command) << "command " << i;
        if (i > 0) {
            // Well before the 2 s time-out: the reply was taken as complete.
            EXPECT_LT(command->at - answeredAt, 1000ms) << command->text;
        }
        EXPECT_EQ(command->text.find('\n'), std::string::npos);
        commands.push_back(command->text);
        line.send(answer(command->text));
        answeredAt = Clock::now();
    }
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i], cycle[i % cycle.size()]) << "command " << i;
    }
}

TEST_F(SerialLine, SilentDeviceIsAskedAgainAfterTheTimeOutAndThreeSeconds) {
    startMonitor(500);
    const auto srv = line.nextCommand(5s);
    ASSERT_TRUE(srv);
    const auto opl = line.nextCommand(8s);
    ASSERT_TRUE(opl);
    EXPECT_EQ(srv->text, "SRV");
    EXPECT_EQ(opl->text, "OPL");
    EXPECT_GE(opl->at - srv->at, 3400ms);
    const auto again = line.nextCommand(8s);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, "SRV");
}

TEST_F(SerialLine, MonitorKeepsRunningWhenTheDeviceEndVanishesMidReply) {
    startMonitor(500);
    ASSERT_TRUE(line.nextCommand(5s));
    line.send("#230 231 2");
    line.hangUp();
    std::this_thread::sleep_for(5s);
    EXPECT_TRUE(monitor->running());
}

}  // namespace
}  // namespace treld::e2e
