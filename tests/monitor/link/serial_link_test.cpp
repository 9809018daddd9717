// Reply completion on the serial line and the measurement panels it feeds.
#include <gtest/gtest.h>

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

TEST_F(SerialLink, ReplyInPiecesIsHandedOverOnceWhenItsCrArrives) {
    const std::string reply = kSrvReply;
    for (std::size_t split = 1; split + 1 < reply.size(); split += 7) {
        VirtualRig rig;
        rig.start();
        rig.advance(50);
        const std::string before = rig.caption("Label50");
        rig.monitor.onSerialData(reply.substr(0, split));
        rig.monitor.onSerialData(reply.substr(split, 3));
        EXPECT_EQ(rig.caption("Label50"), before) << "no handover before the CR, split " << split;
        rig.monitor.onSerialData(reply.substr(split + 3));
        EXPECT_EQ(rig.monitor.core().s.Reply, reply);
        EXPECT_EQ(rig.platform.timer(TimerId::Timer1).intervalMs, 5);
        rig.advance(5);
        EXPECT_EQ(rig.caption("Label8"), "230") << "split " << split;
    }
}

TEST_F(SerialLink, ReceiveIndicatorTogglesOncePerHandover) {
    for (char c : std::string(kSrvReply))
        receive(std::string(1, c));
    EXPECT_EQ(rig.caption("Label50"), "\\");
    receive("more");  // still before the next send: the whole buffer again
    EXPECT_EQ(rig.caption("Label50"), "/");
}

TEST_F(SerialLink, TextAfterTheCrStillDecodesFromFixedPositions) {
    receive(std::string(kSrvReply) + "\n#garbage");
    rig.advance(5);
    EXPECT_EQ(rig.caption("Label26"), "0500");
    EXPECT_EQ(rig.caption("Label4"), "0499");
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
}

TEST_F(SerialLink, FixedReplyShowsForTenSecondsOnlyWhenItIsTheWholeReply) {
    receive("OK\r");
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(9'999);
    EXPECT_EQ(rig.caption("Label25"), "OK\r");
    rig.advance(1);
    EXPECT_EQ(rig.caption("Label25"), "");

    VirtualRig other;
    other.start();
    other.advance(50);
    other.monitor.onSerialData("OK\r\n");
    EXPECT_EQ(other.caption("Label25"), "");
    EXPECT_EQ(other.monitor.core().s.Reply, "OK\r\n");
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

TEST_F(SerialLink, NulAndHighBitBytesAreShownAsReceived) {
    const std::string reply = std::string(
        "#2\x00"
        "0 231 229 228 230 232 0500 0499\r",
        36);
    std::string odd = reply;
    odd[6] = '\xE9';
    receive(odd);
    rig.advance(5);
    EXPECT_EQ(rig.caption("Label8"), std::string("2\x00"
                                                 "0",
                                                 3));
    EXPECT_EQ(rig.caption("Label10"),
              "2\xE9"
              "1");
}

TEST_F(SerialLink, FailedWriteNamesThePortAtOnceAndAfterTheTimeOut) {
    VirtualRig rig;
    rig.writeConfig("COMPORT:2\r\nTIMEOUT:700\r\n");
    rig.platform.serialWritesFail = true;
    rig.start();
    rig.advance(50);
    EXPECT_EQ(rig.caption("Label40"), "COM 2 Not opened select another port");
    rig.advance(700);
    EXPECT_EQ(rig.caption("Label40"), "COM 2 Not opened select another port");
    EXPECT_EQ(rig.monitor.core().s.ComReady, 0);
}

struct PanelCase {
    const char* name;
    const char* command;  // the step whose reply is evaluated
    std::string reply;
    std::vector<std::pair<const char*, const char*>> fields;
    const char* status;
};

TEST(MeasurementPanels, RepliesFillTheFieldsAsReceivedOrAreRejectedWhole) {
    const std::string noSpaceAt30 = "#230 231 229 228 230 232 05000499\r";
    const PanelCase cases[] = {
        {"sources",
         "SRV",
         kSrvReply,
         {{"Label8", "230"},
          {"Label10", "231"},
          {"Label12", "229"},
          {"Label26", "0500"},
          {"Label14", "228"},
          {"Label16", "230"},
          {"Label1", "232"},
          {"Label4", "0499"}},
         "Data OK"},
        {"frequencies run together",
         "SRV",
         noSpaceAt30,
         {{"Label8", ""}, {"Label4", ""}},
         "Data error SRV"},
        {"short reply", "SRV", "#230 231\r", {{"Label8", ""}}, "Data error SRV"},
        {"output",
         "OPL",
         kOplReply,
         {{"Label19", "045"},
          {"Label23", "055"},
          {"Label44", "012"},
          {"Label47", "035 C"},
          {"Label49", "002 deg"}},
         "Data OK"},
        {"output without #",
         "OPL",
         "?045 050 055 010 011 012 035 002\r",
         {{"Label19", ""}},
         "Data error OPL"},
    };
    for (const PanelCase& c : cases) {
        VirtualRig rig;
        rig.device = [&](const std::string& command) -> std::optional<DeviceReply> {
            if (command == c.command)
                return DeviceReply{c.reply};
            return answeringDevice(command);
        };
        rig.monitor.core().s.PollStep = std::string(c.command) == "SRV" ? 1 : 3;
        rig.start();
        rig.monitor.core().s.PollStep = std::string(c.command) == "SRV" ? 1 : 3;
        rig.runUntil([&] { return rig.commandsSent().size() == 2; }, 10'000);
        for (auto [label, text] : c.fields)
            EXPECT_EQ(rig.caption(label), text) << c.name;
        EXPECT_EQ(rig.caption("Label40"), c.status) << c.name;
    }
}

TEST(MeasurementPanels, VersionClockAndDateKeepTheirTextAfterTheFirstCharacter) {
    VirtualRig rig;
    rig.device = answeringDevice;
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() == 8; }, 10'000);
    EXPECT_EQ(rig.caption("Label52"), "STS V2.07\r");
    EXPECT_EQ(rig.caption("Label80"), "14:05:10\r");
    EXPECT_EQ(rig.caption("Label81"), "05/12/26\r");
}

}  // namespace
}  // namespace treld::testing
