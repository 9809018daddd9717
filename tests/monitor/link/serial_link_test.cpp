// Reply completion on the serial line and the measurement panels it feeds.
#include <gtest/gtest.h>

#include <tuple>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class SerialLink : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.start();
        rig.advance(50);  // SRV is out
    }
    void receive(std::string_view chunk) { rig.monitor.onSerialData(chunk); }
    VirtualRig rig;
};

TEST_F(SerialLink, ReplyInOneByteChunksIsHandedOverAtItsCrAndTextAfterItIsIgnored) {
    const std::string reply = kSrvReply;
    const std::string idle = rig.caption("Label50");
    for (char c : reply.substr(0, reply.size() - 1))
        receive(std::string(1, c));
    EXPECT_EQ(rig.caption("Label50"), idle) << "no handover before the CR";
    receive("\r");
    EXPECT_EQ(rig.caption("Label50"), "\\");
    EXPECT_EQ(rig.monitor.core().s.Reply, reply);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer1).intervalMs, 5);
    receive("\n#garbage");  // before the next send: the whole buffer again
    EXPECT_EQ(rig.caption("Label50"), "/");
    rig.advance(5);
    EXPECT_EQ(rig.caption("Label8"), "230");
    EXPECT_EQ(rig.caption("Label4"), "0499");
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
}

TEST_F(SerialLink, FixedReplyShowsForTenSecondsOnlyWhenItIsTheWholeReply) {
    receive("OK\r");
    rig.advance(9'999);
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label25"), "");
    receive("OK\r\n");
    EXPECT_EQ(rig.caption("Label25"), "");
}

TEST_F(SerialLink, FloodWithoutCrStaysBoundedAndTimesOut) {
    const std::string megabyte(1 << 20, 'x');
    for (int i = 0; i < 10; ++i)
        receive(megabyte);
    receive("\r");
    EXPECT_LE(rig.monitor.core().s.ReceiveBuffer.size(), kReceiveLimit);
    EXPECT_EQ(rig.monitor.core().s.Reply, "");
    rig.advance(1000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
}

TEST(MeasurementPanels, RepliesFillTheFieldsAsReceivedOrAreRejectedWhole) {
    const Texts sources = {"Label8",  "Label10", "Label12", "Label26",
                           "Label14", "Label16", "Label1",  "Label4"};
    const Texts output = {"Label19", "Label23", "Label44", "Label47", "Label49"};
    // command, its reply, the fields shown (none: all stay blank), Label40
    const std::tuple<std::string, std::string, Texts, const char*> cases[] = {
        {"SRV", kSrvReply, {"230", "231", "229", "0500", "228", "230", "232", "0499"}, "Data OK"},
        {"SRV",  // NUL and high-bit bytes are shown as received
         std::string("#2\0000 2\3511 229 228 230 232 0500 0499\r", 36),
         {std::string("2\0000", 3), "2\3511", "229", "0500", "228", "230", "232", "0499"},
         "Data OK"},
        {"SRV", "#230 231 229 228 230 232 05000499\r", {}, "Data error SRV"},
        {"SRV", "#230 231\r", {}, "Data error SRV"},
        {"OPL", kOplReply, {"045", "055", "012", "035 C", "002 deg"}, "Data OK"},
        {"OPL", "?045 050 055 010 011 012 035 002\r", {}, "Data error OPL"},
    };
    for (const auto& [command, reply, expected, status] : cases) {
        VirtualRig rig;
        rig.device = answeringExcept({{command, DeviceReply{reply}}});
        const bool srv = command == "SRV";
        rig.start();
        rig.monitor.core().s.PollStep = srv ? 1 : 3;
        rig.runUntilSent(2);
        Texts shown;
        for (const std::string& field : srv ? sources : output)
            shown.push_back(rig.caption(field));
        EXPECT_EQ(shown, expected.empty() ? Texts(shown.size()) : expected) << reply;
        EXPECT_EQ(rig.caption("Label40"), status) << reply;
    }
}

}  // namespace
}  // namespace treld::testing
