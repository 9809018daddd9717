// The poll cycle as seen on the wire: which command goes out when, and what
// the status line says, with the device played in virtual time.
#include <gtest/gtest.h>

#include "link/poll_cycle.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

using Commands = std::vector<std::string>;

class PollCycle : public ::testing::Test {
  protected:
    void SetUp() override { rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n"); }
    VirtualRig rig;
};

TEST_F(PollCycle, AnsweringDeviceIsPolledInTheSevenCommandCycleTwoShortTicksAfterEachReply) {
    rig.device = answeringDevice;
    rig.start();
    rig.runUntil([&] { return rig.platform.serialWrites.size() >= 8; }, 10'000);

    EXPECT_EQ(rig.commandsSent(),
              (Commands{"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT", "SRV"}));
    const auto& writes = rig.platform.serialWrites;
    EXPECT_EQ(writes[0].atMs, 50);
    for (std::size_t i = 1; i < writes.size(); ++i) {
        // the device answers after 20 ms; 5 ms later a tick evaluates the
        // reply and 5 ms after that the next tick sends
        EXPECT_EQ(writes[i].atMs - writes[i - 1].atMs, 30) << "before command " << i;
    }
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    EXPECT_EQ(rig.caption("Label56"), "\\Local STS/com1");
}

TEST_F(PollCycle, SilentDeviceAlternatesSrvAndOplAfterTimeOutPlusThreeSeconds) {
    rig.start();
    rig.advance(4 * 4000 + 100);

    EXPECT_EQ(rig.commandsSent(), (Commands{"SRV", "OPL", "SRV", "OPL", "SRV"}));
    const auto& writes = rig.platform.serialWrites;
    for (std::size_t i = 1; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].atMs - writes[i - 1].atMs, 1000 + 3000);
    }
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
}

TEST_F(PollCycle, TimeOutTextNamesWhatFailed) {
    struct Case {
        const char* name;
        bool portOpens;
        Int16 remoteMode;
        const char* expected;
    };
    const Case cases[] = {
        {"silent device", true, 0, "Time out on com3"},
        {"port never opened", false, 0, "COM 3 Not opened select another port"},
        {"remote station", true, 1, "Remote STS communication time out"},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        rig.writeConfig("COMPORT:3\r\nTIMEOUT:500\r\n");
        rig.platform.serialOpens = c.portOpens;
        rig.start();
        rig.monitor.core().s.RemoteMode = c.remoteMode;
        rig.advance(50 + 500 + 1);
        EXPECT_EQ(rig.caption("Label40"), c.expected) << c.name;
    }
}

TEST_F(PollCycle, MissingTimeOutWaitsOneSecondAndKeepsTheConfiguredValue) {
    rig.writeConfig("COMPORT:1\r\n");
    rig.start();
    rig.advance(50 + 999);
    EXPECT_EQ(rig.caption("Label40"), "");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
    EXPECT_EQ(rig.monitor.core().config.ReplyTimeout, 0);
}

TEST_F(PollCycle, TimeOutBlanksSourcePanelButRelayTimeOutAnswerKeepsIt) {
    int srvSeen = 0;
    rig.device = [&](const std::string& command) -> std::optional<DeviceReply> {
        if (command != "SRV")
            return answeringDevice(command);
        ++srvSeen;
        if (srvSeen == 1)
            return DeviceReply{kSrvReply};
        if (srvSeen == 2)
            return DeviceReply{"Time out\r"};
        return std::nullopt;
    };
    rig.start();
    rig.runUntil([&] { return srvSeen == 2 && rig.commandsSent().back() == "OPL"; }, 10'000);
    EXPECT_EQ(rig.caption("Label8"), "230") << "a relay's Time out leaves the panel as it was";

    rig.runUntil([&] { return srvSeen == 3 && rig.commandsSent().back() == "OPL"; }, 10'000);
    EXPECT_EQ(rig.caption("Label8"), "");
    EXPECT_EQ(rig.caption("Label4"), "");
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
}

TEST_F(PollCycle, SynchronizeSendsClockAndDateThenRestartsAtSrv) {
    rig.device = answeringDevice;
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 3; }, 10'000);  // SST is out
    rig.monitor.click(Form::Form1, "Command3");
    rig.runUntil([&] { return rig.commandsSent().size() == 7; }, 10'000);

    // The sends before the press finish their exchange; the clock is 14:05 on 5 Dec 2026.
    EXPECT_EQ(rig.commandsSent(),
              (Commands{"SRV", "OPL", "SST", "ACL14:05\r", "AD051226\r", "SRV", "OPL"}));
}

TEST_F(PollCycle, OperatorCommandGoesOutAfterTheNextReplyAndItsAnswerIsShown) {
    rig.device = [](const std::string& command) -> std::optional<DeviceReply> {
        if (command == "XF1")
            return DeviceReply{"ACCESS DENIED\r"};
        return answeringDevice(command);
    };
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 2; }, 10'000);  // OPL is out
    rig.monitor.core().s.PollState = "XF1";
    rig.runUntil([&] { return rig.commandsSent().size() == 5; }, 10'000);

    EXPECT_EQ(rig.commandsSent(), (Commands{"SRV", "OPL", "XF1", "SRV", "OPL"}));
    EXPECT_EQ(rig.caption("Label25"), "ACCESS DENIED\r");
    const auto& writes = rig.platform.serialWrites;
    EXPECT_EQ(writes[3].atMs - writes[2].atMs, 25)
        << "polling resumes in the tick that shows the answer";
}

TEST_F(PollCycle, UnansweredOperatorCommandWaitsThreeSeconds) {
    rig.device = [](const std::string& command) -> std::optional<DeviceReply> {
        if (command == "INH")
            return std::nullopt;
        return answeringDevice(command);
    };
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 1; }, 10'000);
    rig.monitor.core().s.PollState = "INH";
    rig.runUntil([&] { return rig.commandsSent().size() == 3; }, 10'000);
    const auto& writes = rig.platform.serialWrites;
    EXPECT_EQ(rig.commandsSent()[1], "INH");
    EXPECT_EQ(writes[2].atMs - writes[1].atMs, 3000);
    EXPECT_EQ(rig.commandsSent()[2], "SRV");
}

TEST_F(PollCycle, TabChangeDropsQueuedCommandAndRestartsTheCycle) {
    rig.device = answeringDevice;
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 3; }, 10'000);
    Core& core = rig.monitor.core();
    core.s.PollState = "SON";
    rig.monitor.select(Form::Form1, "SSTab1", 4);
    rig.runUntil([&] { return core.s.LastTab == 4; }, 10'000);
    EXPECT_EQ(core.s.PollState, "");

    rig.monitor.select(Form::Form1, "SSTab1", 0);
    rig.runUntil([&] { return rig.commandsSent().back() == "SRV"; }, 10'000);
    for (const std::string& command : rig.commandsSent())
        EXPECT_NE(command, "SON");
}

TEST_F(PollCycle, DemoSetTabCannotBeChosen) {
    rig.start();
    rig.monitor.select(Form::Form1, "SSTab1", 2);
    EXPECT_EQ(rig.monitor.core().selectedTab(), 0);
}

TEST_F(PollCycle, OperatorAndRelayCommandsInTheSameTickGoOutOneAfterTheOther) {
    rig.device = [](const std::string& command) -> std::optional<DeviceReply> {
        if (command == "XF2")
            return DeviceReply{"OK\r"};
        if (command == "TST")
            return DeviceReply{"INVALID DATA\r"};
        return answeringDevice(command);
    };
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 1; }, 10'000);
    rig.monitor.core().s.PollState = "XF2";
    rig.monitor.onRelayConnectionRequest();
    rig.monitor.onRelayData(1, "TST\r");
    rig.runUntil([&] { return !rig.platform.relaySends[1].empty(); }, 20'000);

    const Commands sent = rig.commandsSent();
    EXPECT_EQ(Commands(sent.begin(), sent.begin() + 4), (Commands{"SRV", "XF2", "SRV", "TST"}));
    EXPECT_EQ(rig.platform.relaySends[1], (std::vector<std::string>{"INVALID DATA\r\r"}))
        << "the relay client gets its own reply, not the operator's";
}

}  // namespace
}  // namespace treld::testing
