// The "Control" tab: command buttons and the cycle that sends their commands
// between status polls.
#include "scripted_sts.h"

namespace treld::testing {
namespace {

class ControlTab : public DeviceTest {
  protected:
    void SetUp() override {
        sts.status = "#00000000 00000000 00000000 00000000 00001\r";  // a user (position 42)
        start(3);
        rig.runUntil([&] { return rig.commandsSent().size() == 2; }, 5'000);
    }
    void click(int button) { rig.monitor.click(Form::Form1, "Command2_" + std::to_string(button)); }
    Commands sendNext(std::size_t count) {
        const std::size_t before = rig.commandsSent().size();
        rig.runUntil([&] { return rig.commandsSent().size() == before + count; }, 5'000);
        return sentFrom(before);
    }
};

TEST_F(ControlTab, EachButtonQueuesItsCommandForTheGapAfterTheNextStatusPoll) {
    ASSERT_EQ(rig.commandsSent(), (Commands{"SAS", "SAS"}));
    const char* const kCommands[] = {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF"};
    for (int i = 0; i < 8; ++i) {
        click(i);
        EXPECT_EQ(core().s.PollState, kCommands[i]) << "a later click replaces the queued one";
    }
    EXPECT_EQ(sendNext(2), (Commands{"SOF", "SAS"})) << "after the answer to the status poll";
    EXPECT_EQ(rig.caption("Label40"), "OK\r");
    EXPECT_EQ(core().s.PollState, "");

    core().status.UserLoginActive = 0;
    click(3);
    EXPECT_EQ(core().s.PollState, "") << "not logged in: nothing is queued";
    EXPECT_EQ(element("Form3", Form::Form3).caption(), "STS user logon");
}

TEST_F(ControlTab, ClickWhileAnAnswerIsAwaitedIsLost) {
    click(6);
    rig.runUntil([&] { return lastSent("SON"); }, 5'000);
    click(7);
    EXPECT_EQ(sendNext(3), (Commands{"SAS", "SAS", "SAS"}));
}

TEST_F(ControlTab, TabChangeBeforeTheCommandGoesOutDropsIt) {
    sts.statusDelayMs = 500;
    rig.runUntil([&] { return core().s.PollStep == 4; }, 5'000);
    click(1);
    rig.monitor.select(Form::Form1, "SSTab1", 0);
    rig.advance(3'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "XF2"), 0);
}

}  // namespace
}  // namespace treld::testing
