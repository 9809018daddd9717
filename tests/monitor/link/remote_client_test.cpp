// Remote mode: one TCP exchange per command with the relay server of the
// monitor that has the device (played by the rig's STS).
#include <gtest/gtest.h>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(RemoteClient, OneConnectionPerCommandWithItsReplyUpToTheCrAndErrorsLeftToTheTimeOut) {
    VirtualRig rig("REMOTEIP2:10.0.0.7\r\nREMOTEPORT:1200\r\n");
    rig.sts.replies["SRV"] = DeviceReply{kSrvReply, 20, 7};
    rig.sts.replies["CLK"] = DeviceReply{"#14:05:10\rafter the CR\r", 20, 4};
    rig.sts.replies["SST"] = std::nullopt;
    rig.start();
    rig.select("List3", 1);
    rig.click("Command5");
    rig.advance(50);  // the first SRV goes out over TCP
    EXPECT_EQ(rig.platform.remoteConnects.at(0), (std::pair<std::string, int>{"10.0.0.7", 1200}));
    rig.advance(70);  // SRV's reply evaluated at 96, OPL sent at 116
    EXPECT_EQ(rig.caption("Label8") + rig.caption("Label4"), "2300499");
    EXPECT_EQ(rig.platform.remoteConnects.size(), 2u) << "OPL on a connection of its own";
    EXPECT_EQ(rig.platform.remoteCloses, 3) << "closed before each send and after each reply";

    rig.runUntil([&] { return rig.platform.remoteConnects.size() == 3; });  // SST, unanswered
    rig.advance(5);
    rig.monitor.onRemoteError();
    rig.sts.replies.erase("SST");
    rig.advance(994);
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label40"), "Remote STS communication time out");
    rig.advance(3'000);
    EXPECT_EQ(rig.platform.remoteConnects.size(), 4u) << "the next command 3 s later";
    rig.advance(1'000);
    EXPECT_EQ(rig.caption("Label80"), "14:05:10\r") << "nothing after the CR is read";

    rig.click("mnout");
    rig.runUntil([&] { return rig.caption("Label25") == "OK\r"; });
    rig.advance(5'000);
    EXPECT_EQ(rig.caption("Label25"), "") << "a fixed reply shows for 5 s";
    EXPECT_TRUE(rig.platform.serialWrites.empty());
}

}  // namespace
}  // namespace treld::testing
