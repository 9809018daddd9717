// Remote mode: one TCP exchange per command with the relay server of the
// monitor that has the device.
#include <gtest/gtest.h>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class RemoteClient : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\nREMOTEIP2:10.0.0.7\r\nREMOTEPORT:1200\r\n");
        rig.start();
        rig.monitor.select(Form::Form1, "List3", 1);
        rig.monitor.click(Form::Form1, "Command5");
        rig.advance(50);  // the first SRV goes out over TCP
    }
    ProgramState& s() { return rig.monitor.core().s; }
    VirtualRig rig;
};

TEST_F(RemoteClient, SendsOnConnectAndAssemblesAReplyFromTwoChunks) {
    EXPECT_EQ(s().RemoteAddress, "10.0.0.7");
    EXPECT_EQ(rig.platform.remoteConnects,
              (std::vector<std::pair<std::string, int>>{{"10.0.0.7", 1200}}));
    EXPECT_EQ(rig.caption("Label56"), "/10.0.0.7/1200");
    EXPECT_TRUE(rig.platform.serialWrites.empty());

    rig.monitor.onRemoteConnected();
    ASSERT_EQ(rig.platform.remoteSends.size(), 1u);
    EXPECT_EQ(rig.platform.remoteSends[0].text, "SRV\r");

    const std::string reply = kSrvReply;
    const int closesBefore = rig.platform.remoteCloses;
    rig.monitor.onRemoteData(reply.substr(0, 20));
    EXPECT_EQ(s().Reply, "");
    rig.monitor.onRemoteData(reply.substr(20) + "\rafter the CR");
    rig.monitor.onRemoteData("\r");  // nothing more belongs to this exchange
    EXPECT_EQ(s().Reply, reply);
    EXPECT_EQ(rig.platform.remoteCloses, closesBefore + 1);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer1).intervalMs, 20);
    rig.advance(20);
    EXPECT_EQ(rig.caption("Label8"), "230");
    EXPECT_EQ(rig.platform.remoteConnects.size(), 1u);
    rig.advance(20);
    EXPECT_EQ(rig.platform.remoteConnects.size(), 2u) << "OPL on a connection of its own";
    EXPECT_EQ(rig.caption("Label56"), "\\10.0.0.7/1200");
}

TEST_F(RemoteClient, FixedReplyShowsForFiveSeconds) {
    rig.monitor.onRemoteConnected();
    rig.monitor.onRemoteData("OK\r");
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(4'999);
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label25"), "");
}

TEST_F(RemoteClient, RefusedOrSilentStationTimesOut) {
    rig.monitor.onRemoteError();
    EXPECT_GE(rig.platform.remoteCloses, 1);
    rig.advance(999);
    EXPECT_EQ(rig.caption("Label40"), "");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label40"), "Remote STS communication time out");
    rig.advance(3000);
    EXPECT_EQ(rig.platform.remoteConnects.size(), 2u) << "the next command 3 s later";
}

}  // namespace
}  // namespace treld::testing
