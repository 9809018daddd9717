// The device's event log: whole records against whole rows, and the download
// on the "Log event" tab in virtual time.
#include <gtest/gtest.h>

#include "records/sts_log.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(StsLogRow, WholeRecordsGiveWholeRows) {
    struct Case {
        const char* record;
        const char* row;
    };
    const Case cases[] = {
        {"$000 000 000 000 000 000 000 000 000\r", "00/00/2000  00:00"},
        {"$006 006 255 255 023 059 031 012 099\r", "Empty log record"},
        {"$006 005 000 000 001 002 003 004 008\r", "03/04/2008  01:02 Source1 BAD- Non synchron-"},
        {"$001 000 000 000 015 020 010 009 015", "10/09/2015  15:20 Service Login-"},
        {"$011 003 128 000 009 005 001 001 010\r",
         "01/01/2010  09:05 Short circuit- Source1 BAD- Source2 BAD- Output SW off"},
        {"$012 000 000 000 000 000 000 000 000\r", "00/00/2000  00:00"},
        {"$002 255 255 255 000 000 000 000 007\r",
         "00/00/2007  00:00 Emergency Stop- Source1 BAD- Source2 BAD- Non synchron- Overload-"
         " Non SYNC inhibit- XFER inhibit- S1 SCR open- S2 SCR open- DC PSP failure 1-"
         " DC PSP failure 2- Overtemperature- Manual XFER to S1- Manual XFER to S2-"
         " S1 phase seq.bad- S2 phase seq.bad- Output SW off S1 input sw. off-"
         " S2 input sw. off- S1 blackout sense- S2 blackout sense- S1 freq. bad-"
         " S2 freq. bad- S1 balance bad- S2 balance bad-"},
        {"$004 256 000 000 007\r", "00/00/2000  07:00 On source 2-"},  // short; bit 256 ignored
        {"ACCESS DENIED\r", "00/00/2000  00:00"},
        {"", "00/00/2000  00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stsLogRowText(c.record), c.row) << c.record;
}

class StsLogDownload : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:2\r\nTIMEOUT:500\r\n");
        rig.start();
    }
    // Opens the tab on a device that answers "LOGnnn" with a record whose
    // minute field is nnn, but stays silent once on `silentOnce`.
    void openLogTab(int delayMs = 20, std::string silentOnce = "") {
        rig.device = [=](const std::string& command) mutable -> std::optional<DeviceReply> {
            if (command == silentOnce) {
                silentOnce.clear();
                return std::nullopt;
            }
            if (!command.starts_with("LOG"))
                return std::nullopt;
            return DeviceReply{"$003 000 000 000 010 " + command.substr(3) + " 001 002 007\r",
                               delayMs};
        };
        rig.monitor.select(Form::Form1, "SSTab1", 4);
    }
    const std::vector<std::string>& rows() {
        return rig.monitor.ui()(Form::Form1, "List1").items();
    }
    std::vector<std::string> logRequests() {
        std::vector<std::string> sent = rig.commandsSent();
        std::erase_if(sent, [](const std::string& command) { return !command.starts_with("LOG"); });
        return sent;
    }
    VirtualRig rig;
};

TEST_F(StsLogDownload, FetchesAllRecordsInOrderThenSendsNothingMore) {
    openLogTab();
    rig.runUntil([&] { return rows().size() == 128; }, 60'000);
    rig.advance(10'000);
    EXPECT_EQ(rows().size(), 128u);
    EXPECT_EQ(rows()[127], "127-01/02/2007  10:127 On source 1-");
    EXPECT_EQ(logRequests().size(), 128u) << "and silence after the last";
}

TEST_F(StsLogDownload, TimeOutMidwayEmptiesTheListAndStartsAgainFromZero) {
    openLogTab(20, "LOG003");
    rig.runUntil([&] { return logRequests().size() == 4; }, 10'000);
    EXPECT_EQ(rows().size(), 3u);
    rig.runUntil([&] { return rows().empty(); }, 1'000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com2");
    rig.runUntil([&] { return rows().size() == 5; }, 10'000);
    EXPECT_EQ(logRequests()[4], "LOG000");
    EXPECT_EQ(rows()[4], "4-01/02/2007  10:04 On source 1-");
}

TEST_F(StsLogDownload, RefreshWhileAReplyIsAwaitedDiscardsThatReply) {
    openLogTab(100);
    rig.runUntil([&] { return logRequests().size() == 3; }, 10'000);
    rig.monitor.click(Form::Form1, "Command20");
    EXPECT_TRUE(rows().empty());
    rig.runUntil([&] { return logRequests().size() == 5; }, 10'000);
    EXPECT_EQ(logRequests()[3], "LOG000");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], "0-01/02/2007  10:00 On source 1-");
}

TEST_F(StsLogDownload, DemoModeGivesOneHundredTwentyEightIdenticalRows) {
    rig.monitor.core().s.DemoMode = 1;
    openLogTab();
    rig.advance(60'000);
    ASSERT_EQ(rows().size(), 128u);
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(rows()[n], std::to_string(n) + "-10/09/2007  15:20 Service Login-");
    EXPECT_TRUE(logRequests().empty());  // answered from the demo table
}

}  // namespace
}  // namespace treld::testing
