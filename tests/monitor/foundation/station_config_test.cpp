// sts.cfg: what the reader makes of odd lines, and what the writer produces.
// (Save's refusals and its all-or-nothing rewrite: records/settings_dialog_test.)
#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/station_config.h"

namespace treld {
namespace {

TEST(StationConfig, ReaderRulesAndAWriterWhoseTwentyFiveLinesReadBackUnchanged) {
    struct Case {
        const char* text;
        bool complete;
        Int16 comPort, emailEnable, timeout;
        const char* remoteIp1;
    } const cases[] = {
        {"comport:5\r\n COMPORT:6\r\n", true, 1, 0, 0, ""},  // lower case, blank before key
        {"COMPORT:2.5\r\n", true, 2, 0, 0, ""},
        {"COMPORT:3.5\r\n", true, 4, 0, 0, ""},
        {"COMPORT:0\r\n", true, 1, 0, 0, ""},
        {"TIMEOUT:1500ms\r\nEMAILENABLE:-1\r\n", true, 1, -1, 1500, ""},
        {"REMOTEIP1: 10.0.0.2:1118 \r\n", true, 1, 0, 0, " 10.0.0.2:1118 "},
        {"COMPORT:4\r\nCOMPORT:7\nTIMEOUT:x\r\n", true, 7, 0, 0, ""},  // last one wins
        // out of range midway: earlier values stay, later ones are not read
        {"TIMEOUT:900\r\nCOMPORT:7\r\nEMAILENABLE:40000\r\nREMOTEIP1:a\r\n", false, 1, 0, 900, ""},
        {"MAILRETRY:9\r\nno colon\r\n:\r\n", true, 1, 0, 0, ""},
    };
    for (const Case& c : cases) {
        StationConfig config;
        EXPECT_EQ(ReadConfigText(c.text, config), c.complete) << c.text;
        EXPECT_EQ(config.ComPort, c.comPort) << c.text;
        EXPECT_EQ(config.EmailEnable, c.emailEnable) << c.text;
        EXPECT_EQ(config.ReplyTimeout, c.timeout) << c.text;
        EXPECT_EQ(config.RemoteIp1, c.remoteIp1) << c.text;
        EXPECT_EQ(config.RemotePort, 1118) << c.text;
    }

    StationConfig config;
    ReadConfigText(
        "SNAME: North:1 \r\nEMAILENABLE:1\r\nPASSWORD:pw\r\nUSEAUTHENTICITATION:-3\r\n"
        "REMOTEIP3:10.0.0.3\r\nREMOTEPORT:32767\r\nTIMEOUT:-200\r\n",
        config);
    const std::string text = WriteConfigText(config, 9);
    EXPECT_EQ(std::ranges::count(text, '\n'), 25);
    EXPECT_TRUE(text.starts_with("COMPORT:9\r\nSENDERNAME:\r\n")) << text;
    EXPECT_TRUE(text.ends_with("REMOTEIP3:10.0.0.3\r\nREMOTEPORT:32767\r\nTIMEOUT:-200\r\n"));
    EXPECT_NE(text.find("\r\nSNAME: North:1 \r\n"), std::string::npos);
    StationConfig back;
    EXPECT_TRUE(ReadConfigText(text, back));
    EXPECT_EQ(WriteConfigText(back, 9), text);
}

}  // namespace
}  // namespace treld
