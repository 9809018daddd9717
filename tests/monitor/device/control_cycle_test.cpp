// The "Control" tab: command buttons and the cycle that sends their commands
// between status polls.
#include <gtest/gtest.h>

#include "scripted_sts.h"

namespace treld::testing {
namespace {

using Commands = std::vector<std::string>;

class ControlTab : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.device = [this](const std::string& command) -> std::optional<DeviceReply> {
            if (command == "SAS")  // a user is logged in (position 42)
                return DeviceReply{"#00000000 00000000 00000000 00000000 00001\r", sasDelayMs};
            if (command == "INH")
                return DeviceReply{"ACCESS DENIED\r"};
            return answeringDevice(command);
        };
        rig.start();
        rig.monitor.select(Form::Form1, "SSTab1", 3);
        rig.runUntil([&] { return rig.commandsSent().size() == 2; }, 5'000);
    }
    Commands sentAfter(std::size_t first) {
        const Commands sent = rig.commandsSent();
        return Commands(sent.begin() + first, sent.end());
    }
    void click(int button) { rig.monitor.click(Form::Form1, "Command2_" + std::to_string(button)); }

    VirtualRig rig;
    int sasDelayMs = 20;
};

TEST_F(ControlTab, QueuedCommandGoesOutBetweenStatusPollsAndItsAnswerIsShown) {
    EXPECT_EQ(rig.commandsSent(), (Commands{"SAS", "SAS"}));
    click(4);  // "Output inhibit"
    rig.runUntil([&] { return rig.commandsSent().size() == 4; }, 5'000);
    EXPECT_EQ(sentAfter(2), (Commands{"INH", "SAS"})) << "after the answer to the status poll";
    EXPECT_EQ(rig.caption("Label40"), "ACCESS DENIED\r");
    EXPECT_EQ(rig.monitor.core().s.PollState, "");
}

TEST_F(ControlTab, EachButtonQueuesItsCommandForALoggedInOperatorAndALaterClickReplacesIt) {
    const char* const kCommands[] = {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF"};
    for (int i = 0; i < 8; ++i) {
        click(i);
        EXPECT_EQ(rig.monitor.core().s.PollState, kCommands[i]);
    }
    const std::size_t before = rig.commandsSent().size();
    rig.runUntil([&] { return rig.commandsSent().size() == before + 2; }, 5'000);
    EXPECT_EQ(sentAfter(before), (Commands{"SOF", "SAS"}));

    rig.monitor.core().status.UserLoginActive = 0;
    click(3);
    EXPECT_EQ(rig.monitor.core().s.PollState, "") << "not logged in: nothing is queued";
    EXPECT_EQ(rig.monitor.ui()(Form::Form3, "Form3").caption(), "STS user logon");
}

TEST_F(ControlTab, ClickWhileAnAnswerIsAwaitedIsLost) {
    click(6);
    rig.runUntil([&] { return lastSent(rig, "SON"); }, 5'000);
    click(7);
    const std::size_t before = rig.commandsSent().size();
    rig.runUntil([&] { return rig.commandsSent().size() == before + 3; }, 5'000);
    EXPECT_EQ(sentAfter(before), (Commands{"SAS", "SAS", "SAS"}));
}

TEST_F(ControlTab, TabChangeBeforeTheCommandGoesOutDropsIt) {
    sasDelayMs = 500;
    rig.runUntil([&] { return rig.monitor.core().s.PollStep == 4; }, 5'000);
    click(1);
    rig.monitor.select(Form::Form1, "SSTab1", 0);
    rig.advance(3'000);
    for (const std::string& command : rig.commandsSent())
        EXPECT_NE(command, "XF2");
}

}  // namespace
}  // namespace treld::testing
