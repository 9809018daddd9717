// sts.cfg: what the reader makes of odd lines, what the writer produces, and
// that a failed rewrite leaves the old file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "records/station_config.h"
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
        EXPECT_EQ(ReadConfigText(c.text, config), c.complete) << c.text;
        EXPECT_EQ(config.ComPort, c.comPort) << c.text;
        EXPECT_EQ(config.EmailEnable, c.emailEnable) << c.text;
        EXPECT_EQ(config.ReplyTimeout, c.timeout) << c.text;
        EXPECT_EQ(config.RemoteIp1, c.remoteIp1) << c.text;
        EXPECT_EQ(config.RemotePort, 1118) << c.text;
    }
}

TEST(ReadConfig, MissingFileGivesComOneAndDefaults) {
    TempDir dir;
    StationConfig config;
    config.ComPort = 0;
    EXPECT_FALSE(ReadConfig(dir.path() / "sts.cfg", config));
    EXPECT_EQ(config.ComPort, 1);
    EXPECT_EQ(config.RemotePort, 1118);
}

StationConfig everyValueSet() {
    StationConfig config;
    config.ComPort = 2;
    std::string StationConfig::*const texts[] = {
        &StationConfig::SenderName,     &StationConfig::SenderAddress,
        &StationConfig::RecipientName1, &StationConfig::RecipientAddress1,
        &StationConfig::RecipientName2, &StationConfig::RecipientAddress2,
        &StationConfig::RecipientName3, &StationConfig::RecipientAddress3,
        &StationConfig::StationName,    &StationConfig::MailSubject,
        &StationConfig::SmtpHost,       &StationConfig::SmtpUserName,
        &StationConfig::SmtpPassword,   &StationConfig::Pop3Host,
        &StationConfig::RemoteIp1,      &StationConfig::RemoteIp2,
        &StationConfig::RemoteIp3};
    int n = 0;
    for (auto text : texts)
        config.*text = " value " + std::to_string(++n) + ":x ";
    config.EmailEnable = 1;
    config.UseAuthentication = -3;
    config.UsePopAuthentication = 1;
    config.RemotePort = 32767;
    config.ReplyTimeout = -200;
    return config;
}

TEST(WriteConfig, TwentyFiveLinesInTheirOrderThatReadBackToTheSameValues) {
    const StationConfig config = everyValueSet();
    const std::string text = WriteConfigText(config, 9);

    std::vector<std::string> lines;
    forEachConfigLine(text, [&](std::string_view key, std::string_view value) {
        lines.push_back(std::string(key) + std::string(value));
        return true;
    });
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 25);
    EXPECT_EQ(lines[0], "COMPORT:9");
    EXPECT_EQ(lines[11], "EMAILENABLE:1");
    EXPECT_EQ(lines[18], "MAILRETRY:4");
    EXPECT_EQ(lines[19], "FAILDELAY:5");
    EXPECT_EQ(lines[20], "REMOTEIP1: value 15:x ");
    EXPECT_EQ(lines[23], "REMOTEPORT:32767");
    EXPECT_EQ(lines[24], "TIMEOUT:-200");

    StationConfig back;
    EXPECT_TRUE(ReadConfigText(text, back));
    EXPECT_EQ(WriteConfigText(back, 9), text);
}

TEST(WriteConfig, FileIsForItsOwnerOnlyAndAFailedRewriteLeavesTheOldOne) {
    TempDir dir;
    const auto file = dir.path() / "sts.cfg";
    ASSERT_TRUE(WriteConfig(file, everyValueSet(), 2));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directory(dir.path() / "sts.cfg.new");
    EXPECT_FALSE(WriteConfig(file, StationConfig{}, 5));
    StationConfig back;
    ReadConfig(file, back);
    EXPECT_EQ(WriteConfigText(back, back.ComPort), WriteConfigText(everyValueSet(), 2));
}

}  // namespace
}  // namespace treld::testing
