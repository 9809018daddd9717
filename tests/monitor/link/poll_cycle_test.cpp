// The poll cycle as seen on the wire: which command goes out when, and what
// the status line says, with the device played in virtual time.
#include <gtest/gtest.h>

#include <tuple>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class PollCycle : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.device = answeringDevice;
        rig.start();
    }
    // Virtual time between serial write i-1 and write i.
    std::int64_t gap(std::size_t i) {
        return rig.platform.serialWrites[i].atMs - rig.platform.serialWrites[i - 1].atMs;
    }
    VirtualRig rig;
};

TEST_F(PollCycle, AnsweringDeviceIsPolledInTheSevenCommandCycleTwoShortTicksAfterEachReply) {
    rig.runUntilSent(8);

    EXPECT_EQ(rig.commandsSent(), (Texts{"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT", "SRV"}));
    EXPECT_EQ(rig.platform.serialWrites[0].atMs, 50);
    // reply after 20 ms, evaluated by a 5 ms tick, sent by the next one
    for (std::size_t i = 1; i < 8; ++i)
        EXPECT_EQ(gap(i), 30) << "before command " << i;
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    EXPECT_EQ(rig.caption("Label56"), "\\Local STS/com1");
    EXPECT_EQ(rig.caption("Label52"), "STS V2.07\r");
    EXPECT_EQ(rig.caption("Label80"), "14:05:10\r") << "shown from the second character";
}

TEST_F(PollCycle, SilentDeviceGetsSrvAndOplInTheTimeOutRhythmAndTheTextNamesWhatFailed) {
    // TIMEOUT key (0: none, so a 1 s wait), whether the port opens, the text
    const std::tuple<int, bool, std::string> cases[] = {
        {500, true, "Time out on com3"},
        {0, true, "Time out on com3"},
        {500, false, "COM 3 Not opened select another port"},
    };
    for (const auto& [timeoutKey, portOpens, text] : cases) {
        VirtualRig rig;
        const std::string timeout = "TIMEOUT:" + std::to_string(timeoutKey) + "\r\n";
        rig.writeConfig("COMPORT:3\r\n" + (timeoutKey > 0 ? timeout : ""));
        rig.platform.serialOpens = portOpens;
        rig.start();
        const int wait = timeoutKey > 0 ? timeoutKey : 1000;
        rig.advance(50 + wait - 1);
        EXPECT_EQ(rig.caption("Label40"), portOpens ? "" : text) << "at once when the write fails";
        rig.advance(1);
        EXPECT_EQ(rig.caption("Label40"), text) << timeoutKey;
        EXPECT_EQ(rig.monitor.core().config.ReplyTimeout, timeoutKey) << "kept as read";
        if (!portOpens)
            continue;
        rig.advance(2 * (3000 + wait));  // SRV and OPL alternate, 3 s after each time-out
        EXPECT_EQ(rig.commandsSent(), (Texts{"SRV", "OPL", "SRV"}));
        EXPECT_EQ(rig.platform.serialWrites.back().atMs, 50 + 2 * (3000 + wait));
    }
}

TEST_F(PollCycle, TimeOutBlanksTheSourcePanelButARelaysTimeOutAnswerKeepsIt) {
    rig.runUntilSent(7);  // the first SRV is answered
    rig.device = answeringExcept({{"SRV", DeviceReply{"Time out\r"}}});
    rig.runUntilSent(9);  // the second SRV's "Time out" is evaluated
    EXPECT_EQ(rig.caption("Label8"), "230");
    rig.device = answeringExcept({{"SRV", std::nullopt}});
    rig.runUntilSent(16);  // the third SRV timed out
    EXPECT_EQ(rig.caption("Label8"), "");
    EXPECT_EQ(rig.caption("Label4"), "");
}

TEST_F(PollCycle, OperatorCommandGoesOutAfterTheNextReplyAndPollingResumesAfterItsAnswerOr3s) {
    rig.device = answeringExcept({{"XF1", DeviceReply{"ACCESS DENIED\r"}}, {"INH", std::nullopt}});
    rig.runUntilSent(2);  // OPL is out
    rig.monitor.core().s.PollState = "XF1";
    rig.runUntilSent(4);
    EXPECT_EQ(gap(3), 25) << "polling resumes in the tick that shows the answer";
    EXPECT_EQ(rig.caption("Label40"), "ACCESS DENIED\r");

    rig.monitor.core().s.PollState = "INH";
    rig.runUntilSent(6);
    EXPECT_EQ(rig.commandsSent(), (Texts{"SRV", "OPL", "XF1", "SRV", "INH", "SRV"}));
    EXPECT_EQ(gap(5), 3000) << "an unanswered command waits 3 s";
}

TEST_F(PollCycle, SynchronizeSendsClockAndDateAndTabChangesDropTheQueuedCommand) {
    rig.runUntilSent(3);  // SST is out
    rig.monitor.click(Form::Form1, "Command3");
    rig.runUntilSent(7);
    // The exchange under way finishes first; the clock is 14:05 on 5 Dec 2026.
    EXPECT_EQ(rig.commandsSent(),
              (Texts{"SRV", "OPL", "SST", "ACL14:05\r", "AD051226\r", "SRV", "OPL"}));

    Core& core = rig.monitor.core();
    core.s.PollState = "SON";
    rig.monitor.select(Form::Form1, "SSTab1", 4);
    rig.runUntil([&] { return core.s.LastTab == 4; }, 10'000);
    rig.monitor.select(Form::Form1, "SSTab1", 0);
    rig.runUntil([&] { return rig.commandsSent().back() == "SRV"; }, 10'000);
    const Texts sent = rig.commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "SON"), 0);
}

}  // namespace
}  // namespace treld::testing
