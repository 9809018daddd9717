// The relay server seen from its clients: what each one gets back, when, and
// what reaches the device on the serial line in between.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/relay_server.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

bool isPollCommand(const std::string& command) {
    static const Texts poll = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    return std::ranges::count(poll, command) > 0;
}

// Poll commands as usual; any other command is acknowledged with its own name.
std::optional<DeviceReply> acknowledgingDevice(const std::string& command) {
    return isPollCommand(command) ? answeringDevice(command) : DeviceReply{command + "-ack\r"};
}

class RelayServer : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        // The poll commands with an entry in the table are the ones cached.
        rig.writeProgramFile("DEMOSET.CFG", "SRV:#demo\r\nSST:#000\r\n");
        rig.device = acknowledgingDevice;
        rig.start();
    }
    // A client connects and sends `text`; returns its slot.
    int ask(std::string_view text) {
        rig.monitor.onRelayConnectionRequest();
        const int slot = rig.platform.acceptedSlots.back();
        rig.monitor.onRelayData(slot, text);
        return slot;
    }
    Texts& answers(int slot) { return rig.platform.relaySends[slot]; }
    bool closed(int slot) { return std::ranges::count(rig.platform.closedSlots, slot) > 0; }
    VirtualRig rig;
};

TEST_F(RelayServer, PollTextsAreAnsweredFromTheCacheAndTheConnectionClosesAfterTheSend) {
    const int early = ask("SR");  // collected up to its CR, answered once
    EXPECT_TRUE(answers(early).empty());
    rig.monitor.onRelayData(early, "V\r\nSST\r");
    rig.monitor.onRelayData(early, "SRV\r");
    EXPECT_EQ(answers(early), Texts{"Time out\r"}) << "nothing polled yet";
    EXPECT_FALSE(closed(early));
    rig.monitor.onRelaySendComplete(early);
    EXPECT_TRUE(closed(early));

    rig.runUntilSent(4);  // SST evaluated
    EXPECT_EQ(answers(ask("SRV\r")), Texts{std::string(kSrvReply) + "\r"});
    EXPECT_EQ(answers(ask("SST\r")), Texts{"Time out\r"}) << "SST replies are never cached";

    rig.device = nullptr;  // SRV's time-out empties its entry again
    rig.runUntil([&] { return rig.caption("Label8").empty(); }, 20'000);
    EXPECT_EQ(answers(ask("SRV\r")), Texts{"Time out\r"});
}

TEST_F(RelayServer, ForwardedCommandGoesOutAfterTheCurrentExchangeAndItsOutcomeIsReturned) {
    rig.device = answeringExcept({{"TST", DeviceReply{"INVALID DATA\r"}}});
    rig.advance(60);  // SRV is out, its reply on the way
    const int answered = ask("TST\r");
    rig.runUntil([&] { return !answers(answered).empty(); }, 10'000);
    EXPECT_EQ(answers(answered), Texts{"INVALID DATA\r\r"});
    EXPECT_EQ(rig.commandsSent()[1], "TST");
    EXPECT_EQ(rig.now(), 75 + 25) << "sent when SRV's reply was evaluated";

    rig.platform.serialWritesFail = true;
    const int unsent = ask("TST\r");
    rig.runUntil([&] { return !answers(unsent).empty(); }, 10'000);
    EXPECT_EQ(answers(unsent), Texts{"Can not open com1\r\r"});
}

// With an operator command queued too: one command of the operator or of a
// client between two poll commands, each with its own reply or "Timeout" 3 s on.
TEST_F(RelayServer, OverlappingForwardsGoOutOneByOneBetweenPollsAndEachClientGetsItsOwnReply) {
    rig.device = [](const std::string& command) {
        return command == "Q5" ? std::nullopt : acknowledgingDevice(command);
    };
    rig.advance(60);
    rig.monitor.core().s.PollState = "XF2";
    for (int i = 1; i <= 9; ++i)
        ask("Q" + std::to_string(i) + "\r");
    EXPECT_EQ(answers(9), Texts{"Timeout\r"}) << "beyond the queue's bound: answered at once";

    rig.monitor.onRelayClosed(2);  // gone while queued: its command is never sent
    rig.runUntil([&] { return !answers(8).empty(); }, 30'000);
    for (int i : {1, 3, 4, 6, 7, 8})
        EXPECT_EQ(answers(i), Texts{"Q" + std::to_string(i) + "-ack\r\r"});
    EXPECT_EQ(answers(5), Texts{"Timeout\r"}) << "the device was silent";
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "Q2"), 0);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "XF2"), 1);
    const Texts sent = rig.commandsSent();
    const std::size_t q5 = std::ranges::find(sent, "Q5") - sent.begin();
    EXPECT_EQ(rig.platform.serialWrites.at(q5 + 1).atMs - rig.platform.serialWrites[q5].atMs, 3000);
    for (std::size_t i = 1; i < sent.size(); ++i)
        EXPECT_TRUE(isPollCommand(sent[i - 1]) || isPollCommand(sent[i])) << sent[i] << " " << i;
    EXPECT_FALSE(rig.monitor.core().relay.RelayPending());
}

TEST_F(RelayServer, SixteenthConnectionTakesOverSlotOneWithoutInheritingItsReply) {
    rig.advance(60);
    ask("C1\r");
    rig.advance(20);  // C1 is in flight for slot 1
    ASSERT_EQ(rig.commandsSent().back(), "C1");
    for (int i = 2; i <= 16; ++i)
        rig.monitor.onRelayConnectionRequest();
    EXPECT_EQ(rig.platform.acceptedSlots,
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}));
    EXPECT_TRUE(closed(1));

    rig.monitor.onRelayData(1, "C16\r");
    rig.runUntil([&] { return !answers(1).empty(); }, 10'000);
    EXPECT_EQ(answers(1), Texts{"C16-ack\r\r"}) << "C1's reply went to nobody";

    rig.monitor.onRelayClosed(5);
    rig.monitor.onRelayConnectionRequest();
    EXPECT_EQ(rig.platform.acceptedSlots.back(), 5) << "busy slots 2 to 4 are skipped";
}

TEST_F(RelayServer, RequestsAreCollectedUpToTheirCrAndAbusiveClientsAreDropped) {
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
    EXPECT_FALSE(rig.monitor.core().relay.RelayPending());
    EXPECT_TRUE(answers(silent).empty() && answers(flood).empty());
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "INH"), 0);
}

TEST(RelayServerPort, UnsetPortIsReportedAndPollingGoesOnAndRemoteModeTakesNoConnections) {
    VirtualRig rig;
    rig.writeConfig("REMOTEPORT:0\r\n");
    rig.device = answeringDevice;
    rig.start();
    EXPECT_EQ(rig.caption("Label25"), " port:0 in use") << "no listener on a port nobody knows";
    rig.runUntil([&] { return rig.caption("Label40") == "Data OK"; }, 10'000);
    rig.monitor.core().s.RemoteMode = 1;
    rig.monitor.onRelayConnectionRequest();
    EXPECT_TRUE(rig.platform.acceptedSlots.empty());
}

}  // namespace
}  // namespace treld::testing
