// The device's event log: whole records against whole rows, and the download
// on the "Log event" tab in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "records/sts_log.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(StsLogRow, WholeRecordsGiveWholeRows) {
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [record, row] : cases)
        EXPECT_EQ(stsLogRowText(record), row) << record;
}

TEST(StsLogDownload, FetchesInOrderStartsAgainAfterATimeOutOrRefreshThenSendsNothingMore) {
    VirtualRig rig("COMPORT:2\r\nTIMEOUT:500\r\n");
    rig.sts.replies["LOG003"] = std::nullopt;
    rig.start();
    rig.select("SSTab1", 4);
    const Texts& rows = rig.element("List1").items();
    auto requests = [&] {
        return std::ranges::count_if(rig.commandsSent(),
                                     [](auto& c) { return c.starts_with("LOG"); });
    };
    rig.runUntil([&] { return requests() == 4; });
    EXPECT_EQ(rows.size(), 3u);
    rig.sts.replies.erase("LOG003");
    rig.runUntil([&] { return rows.empty(); }, 1'000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com2");
    rig.runUntil([&] { return rows.size() == 5; });
    EXPECT_EQ(rig.commandsSent()[4], "LOG000");
    EXPECT_EQ(rows[4], "4-01/02/2007  10:04 On source 1-");

    const auto asked = requests();
    rig.runUntil([&] { return requests() == asked + 1; });  // LOG005 is out
    rig.click("Command20");                                 // its reply is never shown
    EXPECT_TRUE(rows.empty());
    rig.runUntil([&] { return rows.size() == 1; });
    EXPECT_EQ(rows[0], "0-01/02/2007  10:00 On source 1-");

    rig.runUntil([&] { return rows.size() == 128; });
    EXPECT_EQ(rows[127], "127-01/02/2007  10:127 On source 1-");
    const auto sent = requests();
    rig.advance(10'000);
    EXPECT_EQ(requests(), sent) << "silence after the last";
    EXPECT_EQ(rows.size(), 128u);
}

}  // namespace
}  // namespace treld::testing
