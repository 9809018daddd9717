// sts.cfg: what the reader makes of odd lines, what the writer produces, and
// that a failed rewrite leaves the old file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "foundation/station_config.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(ReadConfig, EdgeRulesOfTheReader) {
    struct Case {
        const char* text;
        bool complete;
        Int16 comPort, emailEnable, timeout;
        const char* remoteIp1;
    };
    const Case cases[] = {
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
        EXPECT_EQ(readConfigText(c.text, config), c.complete) << c.text;
        EXPECT_EQ(config.ComPort, c.comPort) << c.text;
        EXPECT_EQ(config.EmailEnable, c.emailEnable) << c.text;
        EXPECT_EQ(config.ReplyTimeout, c.timeout) << c.text;
        EXPECT_EQ(config.RemoteIp1, c.remoteIp1) << c.text;
        EXPECT_EQ(config.RemotePort, 1118) << c.text;
    }
}

TEST(WriteConfig, TwentyFiveLinesInTheirOrderThatReadBackUnchanged) {
    StationConfig config;
    readConfigText(
        "SNAME: North:1 \r\nEMAILENABLE:1\r\nPASSWORD:pw\r\nUSEAUTHENTICITATION:-3\r\n"
        "REMOTEIP3:10.0.0.3\r\nREMOTEPORT:32767\r\nTIMEOUT:-200\r\n",
        config);
    const std::string text = writeConfigText(config, 9);
    EXPECT_EQ(std::ranges::count(text, '\n'), 25);
    EXPECT_TRUE(text.starts_with("COMPORT:9\r\nSENDERNAME:\r\n")) << text;
    EXPECT_TRUE(text.ends_with("REMOTEIP3:10.0.0.3\r\nREMOTEPORT:32767\r\nTIMEOUT:-200\r\n"));
    EXPECT_NE(text.find("\r\nSNAME: North:1 \r\n"), std::string::npos);
    StationConfig back;
    EXPECT_TRUE(readConfigText(text, back));
    EXPECT_EQ(writeConfigText(back, 9), text);
}

TEST(ConfigFile, MissingGivesComOneAndARewriteIsForTheOwnerOnlyAndAllOrNothing) {
    TempDir dir;
    const auto file = dir.path() / "sts.cfg";
    StationConfig config;
    config.ComPort = 0;
    EXPECT_FALSE(ReadConfig(file, config));
    EXPECT_EQ(config.ComPort, 1);

    config.StationName = "old";
    ASSERT_TRUE(writeConfig(file, config, 2));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directory(dir.path() / "sts.cfg.new");
    EXPECT_FALSE(writeConfig(file, StationConfig{}, 5));
    StationConfig back;
    EXPECT_TRUE(ReadConfig(file, back));
    EXPECT_EQ(writeConfigText(back, back.ComPort), writeConfigText(config, 2));
}

}  // namespace
}  // namespace treld::testing
