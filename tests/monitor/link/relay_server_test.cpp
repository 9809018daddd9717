// The relay server seen from its clients: what each one gets back, when, and
// what reaches the device on the serial line in between.
#include <gtest/gtest.h>

#include "link/relay_server.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

using Texts = std::vector<std::string>;

// Poll commands as usual; any other command is acknowledged with its own name.
std::optional<DeviceReply> acknowledgingDevice(const std::string& command) {
    for (const char* poll : {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"}) {
        if (command == poll)
            return answeringDevice(command);
    }
    return DeviceReply{command + "-ack\r"};
}

class RelayServer : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.writeProgramFile("DEMOSET.CFG", "SRV:#demo\r\nSST:#000\r\nXF1:OK\r\n");
        rig.device = acknowledgingDevice;
    }

    // A client connects and sends `text`; returns its slot.
    int ask(std::string_view text) {
        rig.monitor.onRelayConnectionRequest();
        const int slot = rig.platform.acceptedSlots.back();
        rig.monitor.onRelayData(slot, text);
        return slot;
    }
    Texts& answers(int slot) { return rig.platform.relaySends[slot]; }
    void waitForAnswer(int slot) {
        rig.runUntil([&] { return !answers(slot).empty(); }, 30'000);
    }
    bool closed(int slot) {
        const auto& slots = rig.platform.closedSlots;
        return std::find(slots.begin(), slots.end(), slot) != slots.end();
    }

    VirtualRig rig;
};

TEST_F(RelayServer, PollCommandsAreAnsweredFromTheCacheAndTheConnectionClosesAfterTheSend) {
    rig.start();
    const int early = ask("SRV\r");
    EXPECT_EQ(answers(early), Texts{"Time out\r"}) << "nothing polled yet";
    EXPECT_FALSE(closed(early));
    rig.monitor.onRelaySendComplete(early);
    EXPECT_TRUE(closed(early));

    rig.runUntil([&] { return rig.commandsSent().size() == 4; }, 10'000);  // SST evaluated
    EXPECT_EQ(answers(ask("SRV\r")), Texts{std::string(kSrvReply) + "\r"});
    EXPECT_EQ(answers(ask("SST\r")), Texts{"Time out\r"}) << "SST replies are never cached";

    rig.device = nullptr;  // a poll time-out empties the entry again
    rig.runUntil([&] { return rig.caption("Label40") == "Time out on com1"; }, 10'000);
    rig.runUntil([&] { return rig.commandsSent().back() == "SRV"; }, 20'000);
    rig.advance(1000);
    EXPECT_EQ(answers(ask("SRV\r")), Texts{"Time out\r"});
    EXPECT_EQ(rig.monitor.core().s.RelayPending, 0) << "nothing was forwarded";
}

TEST_F(RelayServer, ForwardedCommandGoesOutAfterTheCurrentExchangeAndItsOutcomeIsReturned) {
    struct Case {
        const char* name;
        bool serialFails;
        std::optional<DeviceReply> deviceAnswer;
        const char* expected;
        std::int64_t answerAfterWriteMs;
    };
    const Case cases[] = {
        {"device answers", false, DeviceReply{"INVALID DATA\r"}, "INVALID DATA\r\r", 25},
        {"device silent", false, std::nullopt, "Timeout\r", 3000},
        {"serial write fails", true, std::nullopt, "Can not open com1\r\r", 3000},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.device = [&](const std::string& command) -> std::optional<DeviceReply> {
            return command == "TST" ? c.deviceAnswer : answeringDevice(command);
        };
        rig.platform.serialWritesFail = c.serialFails;
        rig.start();
        rig.advance(60);  // SRV is out, its reply on the way
        rig.monitor.onRelayConnectionRequest();
        rig.monitor.onRelayData(1, "TST\r");
        EXPECT_TRUE(rig.platform.relaySends[1].empty()) << c.name;

        // After SRV's evaluation (at 75, or after its 1 s time-out) the command goes out.
        const std::int64_t sentAt = c.serialFails ? 50 + 1000 : 75;
        rig.runUntil([&] { return !rig.platform.relaySends[1].empty(); }, 10'000);
        EXPECT_EQ(rig.platform.relaySends[1], Texts{c.expected}) << c.name;
        EXPECT_EQ(rig.now() - sentAt, c.answerAfterWriteMs) << c.name;
        if (!c.serialFails) {
            EXPECT_EQ(rig.commandsSent()[1], "TST") << c.name;
        }
        EXPECT_EQ(rig.monitor.core().s.RelayPending, 0) << c.name;
    }
}

TEST_F(RelayServer, OverlappingForwardsGoOutOneByOneBetweenPollsAndEachClientGetsItsOwnReply) {
    rig.start();
    rig.advance(60);
    for (int i = 1; i <= 9; ++i)
        ask("Q" + std::to_string(i) + "\r");
    EXPECT_EQ(answers(9), Texts{"Timeout\r"}) << "beyond the queue's bound: answered at once";

    rig.monitor.onRelayClosed(2);  // gone while queued: its command is never sent
    for (int i : {1, 3, 4, 5, 6, 7, 8}) {
        waitForAnswer(i);
        EXPECT_EQ(answers(i), Texts{"Q" + std::to_string(i) + "-ack\r\r"});
    }
    const Texts sent = rig.commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "Q2"), 0);
    for (std::size_t i = 1; i < sent.size(); ++i) {
        if (sent[i].starts_with("Q")) {
            EXPECT_FALSE(sent[i - 1].starts_with("Q")) << "one forwarded command per poll step";
        }
    }
    EXPECT_EQ(rig.monitor.core().s.RelayPending, 0);
    EXPECT_TRUE(rig.monitor.core().s.RelayQueue.empty());
}

TEST_F(RelayServer, SixteenthConnectionTakesOverSlotOneWithoutInheritingItsReply) {
    rig.start();
    rig.advance(60);
    ask("C1\r");
    rig.advance(20);  // C1 is in flight for slot 1
    ASSERT_EQ(rig.commandsSent().back(), "C1");
    for (int i = 2; i <= 16; ++i)
        rig.monitor.onRelayConnectionRequest();
    const std::vector<int> expectedSlots = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1};
    EXPECT_EQ(rig.platform.acceptedSlots, expectedSlots);
    EXPECT_TRUE(closed(1));

    rig.monitor.onRelayData(1, "C16\r");
    waitForAnswer(1);
    EXPECT_EQ(answers(1), Texts{"C16-ack\r\r"}) << "C1's reply went to nobody";

    rig.monitor.onRelayClosed(5);
    rig.monitor.onRelayConnectionRequest();
    EXPECT_EQ(rig.platform.acceptedSlots.back(), 5) << "busy slots 2 to 4 are skipped";
}

TEST_F(RelayServer, ConnectionsAreNotTakenInRemoteMode) {
    rig.start();
    rig.monitor.core().s.RemoteMode = 1;
    rig.monitor.onRelayConnectionRequest();
    EXPECT_TRUE(rig.platform.acceptedSlots.empty());
}

TEST_F(RelayServer, RequestsAreCollectedUpToTheirCrAndAbusiveClientsAreDropped) {
    rig.start();
    const int split = ask("SR");
    EXPECT_TRUE(answers(split).empty());
    rig.monitor.onRelayData(split, "V\r\nSST\r");
    rig.monitor.onRelayData(split, "SRV\r");
    EXPECT_EQ(answers(split), Texts{"Time out\r"}) << "one answer per connection";

    const int flood = ask(std::string(kRelayRequestLimit, 'x'));
    EXPECT_FALSE(closed(flood));
    rig.monitor.onRelayData(flood, "x");
    EXPECT_TRUE(closed(flood));

    const int silent = ask("");
    rig.monitor.select(Form::Form1, "SSTab1", 3);  // Control tab: nothing is forwarded
    const int queued = ask("INH\r");
    rig.advance(kRelayIdleSeconds * 1000);
    EXPECT_FALSE(closed(silent));
    EXPECT_TRUE(answers(queued).empty());
    rig.advance(1000);
    EXPECT_TRUE(closed(silent));
    EXPECT_EQ(answers(queued), Texts{"Timeout\r"});
    EXPECT_EQ(rig.monitor.core().s.RelayPending, 0);
    EXPECT_TRUE(answers(silent).empty() && answers(flood).empty());
    const Texts sent = rig.commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "INH"), 0);
}

TEST_F(RelayServer, PortInUseIsReportedAndPollingGoesOn) {
    rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\nREMOTEPORT:2000\r\n");
    rig.platform.relayListens = false;
    rig.device = answeringDevice;
    rig.start();
    EXPECT_EQ(rig.platform.relayListenPort, 2000);
    EXPECT_EQ(rig.caption("Label25"), " port:2000 in use");

    VirtualRig zero;
    zero.writeConfig("REMOTEPORT:0\r\n");
    zero.start();
    EXPECT_EQ(zero.caption("Label25"), " port:0 in use") << "no listener on a port nobody knows";
    rig.runUntil([&] { return rig.caption("Label40") == "Data OK"; }, 10'000);
}

}  // namespace
}  // namespace treld::testing
