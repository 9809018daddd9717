// Remote mode: one TCP exchange per command with the relay server of the
// monitor that has the device.
#include <gtest/gtest.h>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(RemoteClient, OneConnectionPerCommandWithItsReplyUpToTheCrAndErrorsLeftToTheTimeOut) {
    VirtualRig rig;
    rig.writeConfig("REMOTEIP2:10.0.0.7\r\nREMOTEPORT:1200\r\n");
    rig.start();
    rig.monitor.select(Form::Form1, "List3", 1);
    rig.monitor.click(Form::Form1, "Command5");
    rig.advance(50);  // the first SRV goes out over TCP
    EXPECT_EQ(rig.platform.remoteConnects.at(0), (std::pair<std::string, int>{"10.0.0.7", 1200}));
    EXPECT_TRUE(rig.platform.serialWrites.empty());
    rig.monitor.onRemoteConnected();
    EXPECT_EQ(rig.platform.remoteSends.at(0).text, "SRV\r");

    const std::string reply = kSrvReply;
    const int closesBefore = rig.platform.remoteCloses;
    rig.monitor.onRemoteData(reply.substr(0, 20));
    EXPECT_EQ(rig.monitor.core().s.Reply, "");
    rig.monitor.onRemoteData(reply.substr(20) + "\rafter the CR");
    rig.monitor.onRemoteData("\r");  // nothing more belongs to this exchange
    EXPECT_EQ(rig.monitor.core().s.Reply, reply);
    EXPECT_EQ(rig.platform.remoteCloses, closesBefore + 1);
    rig.advance(20);
    EXPECT_EQ(rig.caption("Label8"), "230");
    rig.advance(20);
    EXPECT_EQ(rig.platform.remoteConnects.size(), 2u) << "OPL on a connection of its own";

    rig.monitor.onRemoteError();
    rig.advance(999);
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label40"), "Remote STS communication time out");
    rig.advance(3000);
    ASSERT_EQ(rig.platform.remoteConnects.size(), 3u) << "the next command 3 s later";
    rig.monitor.onRemoteConnected();
    rig.monitor.onRemoteData("OK\r");
    rig.advance(4'999);
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label25"), "") << "a fixed reply shows for 5 s";
}

}  // namespace
}  // namespace treld::testing
