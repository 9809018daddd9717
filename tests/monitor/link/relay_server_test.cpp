// The relay server seen from its clients: what each one gets back, when, and
// what reaches the device on the serial line in between.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/relay_server.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class RelayServer : public ::testing::Test {
  protected:
    void SetUp() override {
        // The poll commands with an entry in the table are the ones cached.
        rig.writeFile("DEMOSET.CFG", "SRV:#demo\r\nSST:#000\r\n");
        for (int i = 1; i <= 16; ++i)
            rig.sts.replies["Q" + std::to_string(i)] = DeviceReply{"Q" + std::to_string(i) + "+\r"};
        rig.start();
    }
    bool closed(int slot) { return std::ranges::count(rig.platform.closedSlots, slot) > 0; }
    const std::string& answer(int slot) {
        rig.runUntil([&] { return !rig.answers(slot).empty(); });
        return rig.answers(slot).at(0);
    }
    VirtualRig rig;
};

TEST_F(RelayServer, PollTextsComeFromTheCacheOthersFromTheDeviceAfterTheCurrentExchange) {
    const int early = rig.ask("SR");  // collected up to its CR, answered once
    EXPECT_TRUE(rig.answers(early).empty());
    rig.monitor.onRelayData(early, "V\r\nSST\r");
    rig.monitor.onRelayData(early, "SRV\r");
    EXPECT_EQ(rig.answers(early), Texts{"Time out\r"}) << "nothing polled yet";
    EXPECT_FALSE(closed(early));
    rig.monitor.onRelaySendComplete(early);
    EXPECT_TRUE(closed(early)) << "closed once the answer is sent";
    rig.runPast("SST");
    EXPECT_EQ(answer(rig.ask("SRV\r")), std::string(kSrvReply) + "\r");
    EXPECT_EQ(answer(rig.ask("SST\r")), "Time out\r") << "SST is never cached";

    rig.runUntil([&] { return rig.commandsSent().back() == "SRV"; });
    const std::int64_t srvAt = rig.now();
    EXPECT_EQ(answer(rig.ask("Q1\r")), "Q1+\r\r");
    EXPECT_EQ(rig.commandsSent().end()[-2], "Q1") << "sent when SRV's reply was evaluated";
    EXPECT_EQ(rig.platform.serialWrites.end()[-2].atMs, srvAt + 25);
    rig.sts.replies["SRV"] = std::nullopt;  // SRV's time-out empties its entry again
    rig.runPast("SRV");
    EXPECT_EQ(answer(rig.ask("SRV\r")), "Time out\r");
    rig.platform.serialWritesFail = true;
    EXPECT_EQ(answer(rig.ask("Q2\r")), "Can not open com1\r\r");
}

// With Logout queued too: one command of the operator or of a client between
// two poll commands, each with its own reply or "Timeout" 3 s on.
TEST_F(RelayServer, OverlappingForwardsGoOutOneByOneBetweenPollsAndEachClientGetsItsOwnReply) {
    rig.sts.replies["Q5"] = std::nullopt;
    rig.advance(60);
    rig.click("mnout");
    for (int i = 1; i <= 9; ++i)
        rig.ask("Q" + std::to_string(i) + "\r");
    EXPECT_EQ(rig.answers(9), Texts{"Timeout\r"}) << "beyond the queue's bound: answered at once";
    rig.monitor.onRelayClosed(2);  // gone while queued: its command is never sent
    for (int i : {1, 3, 4, 6, 7, 8})
        EXPECT_EQ(answer(i), "Q" + std::to_string(i) + "+\r\r");
    EXPECT_EQ(answer(5), "Timeout\r") << "the device was silent";
    rig.advance(5'000);
    const Texts sent = rig.commandsSent();
    EXPECT_EQ(std::ranges::count(sent, "Q2") + std::ranges::count(sent, "OUT"), 1);
    const std::size_t q5 = std::ranges::find(sent, "Q5") - sent.begin();
    EXPECT_EQ(rig.platform.serialWrites.at(q5 + 1).atMs - rig.platform.serialWrites[q5].atMs, 3000);
    for (std::size_t i = 1; i < sent.size(); ++i)
        EXPECT_TRUE(sent[i - 1].size() == 3 || sent[i].size() == 3) << "two in a row: " << sent[i];
}

TEST_F(RelayServer, SlotsGoRoundOverlongSilentAndUnforwardableRequestsAreDropped) {
    rig.advance(60);
    rig.ask("Q1\r");
    rig.advance(20);  // Q1 is in flight for slot 1
    ASSERT_EQ(rig.commandsSent().back(), "Q1");
    for (int i = 2; i <= 16; ++i)
        rig.monitor.onRelayConnectionRequest();
    EXPECT_EQ(rig.platform.acceptedSlots,
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}));
    EXPECT_TRUE(closed(1));
    rig.monitor.onRelayData(1, "Q16\r");
    EXPECT_EQ(answer(1), "Q16+\r\r") << "Q1's reply went to nobody";
    for (int slot = 1; slot <= 15; ++slot)
        rig.monitor.onRelayClosed(slot);
    rig.platform.closedSlots.clear();

    const int flood = rig.ask(std::string(kRelayRequestLimit, 'x'));
    EXPECT_FALSE(closed(flood));
    rig.monitor.onRelayData(flood, "x");
    EXPECT_TRUE(closed(flood));
    const int silent = rig.ask("");
    rig.select("SSTab1", 3);  // Control tab: nothing is forwarded
    const int queued = rig.ask("Q2\r");
    rig.advance(kRelayIdleSeconds * 1000);
    EXPECT_FALSE(closed(silent));
    EXPECT_TRUE(rig.answers(queued).empty());
    rig.advance(1000);
    EXPECT_TRUE(closed(silent));
    EXPECT_EQ(rig.answers(queued), Texts{"Timeout\r"});
    EXPECT_TRUE(rig.answers(silent).empty() && rig.answers(flood).empty());
    rig.select("SSTab1", 0);
    rig.advance(1000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "Q2"), 0);
}

TEST(RelayServerPort, UnsetPortIsReportedAndPollingGoesOnAndRemoteModeTakesNoConnections) {
    VirtualRig rig("REMOTEPORT:0\r\nREMOTEIP1:10.0.0.1\r\n");
    rig.start();
    EXPECT_EQ(rig.caption("Label25"), " port:0 in use") << "no listener on a port nobody knows";
    rig.runUntil([&] { return rig.caption("Label40") == "Data OK"; });
    rig.select("List3", 1);
    rig.click("Command5");
    rig.monitor.onRelayConnectionRequest();
    EXPECT_TRUE(rig.platform.acceptedSlots.empty());
}

}  // namespace
}  // namespace treld::testing
