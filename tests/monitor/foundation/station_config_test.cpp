// sts.cfg: what the reader makes of odd lines. (The writer: records/settings_dialog_test
// and the station_config fuzz target.)
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <tuple>

#include "foundation/station_config.h"

namespace treld {
namespace {

TEST(StationConfig, ReaderTakesKeysInAnyCaseRoundsNumbersLetTheLastOneWinAndStopsOutOfRange) {
    struct Case {
        const char* text;
        bool complete;
        Int16 comPort, emailEnable, timeout;
        const char* remoteIp1;
    } const cases[] = {
        {"comport:5\r\n COMPORT:6\r\n", true, 1, 0, 0, ""},  // lower case, blank before key
        {"COMPORT:2.5\r\n", true, 2, 0, 0, ""},
        {"COMPORT:3.5\r\n", true, 4, 0, 0, ""},
        {"TIMEOUT:1500ms\r\nEMAILENABLE:-1\r\n", true, 1, -1, 1500, ""},
        {"REMOTEIP1: 10.0.0.2:1118 \r\n", true, 1, 0, 0, " 10.0.0.2:1118 "},
        {"COMPORT:4\r\nCOMPORT:7\nTIMEOUT:x\r\n", true, 7, 0, 0, ""},  // last one wins
        // out of range midway: earlier values stay, later ones are not read
        {"TIMEOUT:900\r\nCOMPORT:7\r\nEMAILENABLE:40000\r\nREMOTEIP1:a\r\n", false, 1, 0, 900, ""},
    };
    for (const Case& c : cases) {
        StationConfig config;
        const bool complete = readConfigText(c.text, config);
        EXPECT_EQ(std::tuple(complete, config.ComPort, config.EmailEnable, config.ReplyTimeout,
                             config.RemoteIp1, config.RemotePort),
                  std::tuple(c.complete, c.comPort, c.emailEnable, c.timeout, c.remoteIp1, 1118))
            << c.text;
    }
}

TEST(StationConfig, OddFilesAndValuesTheMonitorReplacesAreSaidWithTheValueUsed) {
    const auto dir = std::filesystem::temp_directory_path() / ("sts-" + std::to_string(getpid()));
    const auto file = dir / "sts.cfg";
    const std::string defaults =
        "every setting is its default, COMPORT:1 EMAILENABLE:0 "
        "REMOTEPORT:1118 TIMEOUT:1000";
    struct Case {
        std::function<void()> make;
        std::string said;
        Int16 comPort = 1;
    } const cases[] = {
        {[&] { mkfifo(file.c_str(), 0600); },
         "sts.cfg cannot be read (not a regular file): " + defaults},
        {[&] { std::filesystem::create_symlink("/dev/zero", file); },
         "sts.cfg cannot be read (not a regular file): " + defaults},
        {[&] { std::filesystem::create_directory(file); },
         "sts.cfg cannot be read (not a regular file): " + defaults},
        {[&] { std::ofstream(file) << "COMPORT:2\nREMOTEPORT:40000\nTIMEOUT:500\n"; },
         "sts.cfg line 2: REMOTEPORT:40000 is out of range; the lines from there on are not "
         "read: COMPORT:1 and REMOTEPORT:1118 used"},
        {[&] { std::ofstream(file) << "TIMEOUT:99999999999\n"; },
         "sts.cfg line 1: TIMEOUT:99999999999 is out of range; the lines from there on are not "
         "read: COMPORT:1 and TIMEOUT:1000 used"},
        {[&] { std::ofstream(file) << "COMPORT:0\nREMOTEPORT:abc\nTIMEOUT:-1\n"; },
         "sts.cfg: COMPORT:0 replaced by COMPORT:1|sts.cfg: REMOTEPORT:abc replaced by "
         "REMOTEPORT:1118|sts.cfg: TIMEOUT:-1 replaced by TIMEOUT:1000"},
        {[&] { std::ofstream(file) << "COMPORT:3\nREMOTEPORT:1200\nTIMEOUT:700\n"; }, "", 3},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        c.make();
        StationConfig config;
        std::string said;
        for (const std::string& text : ReadConfig(file, config))
            said += (said.empty() ? "" : "|") + text;
        EXPECT_EQ(said, c.said);
        EXPECT_TRUE(config.ComPort == c.comPort && config.RemotePort > 0) << said;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace treld
