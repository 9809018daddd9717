// The real treld on a pseudo-terminal, with the test playing the device:
// what crosses the line, and how the monitor paces itself.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

class SerialLine : public ::testing::Test {
  protected:
    void startMonitor(int timeoutMs) {
        monitor = e2e::startMonitor(dir, line,
                                    "COMPORT:1\r\nTIMEOUT:" + std::to_string(timeoutMs) + "\r\n");
    }
    ProgramDir dir;
    DeviceLine line;
    std::unique_ptr<Process> monitor;
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
        line.send(healthyDeviceReply(command->text));
        answeredAt = Clock::now();
    }
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i], cycle[i % cycle.size()]) << "command " << i;
    }
}

}  // namespace
}  // namespace treld::e2e
