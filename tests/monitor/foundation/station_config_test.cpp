// sts.cfg: what the reader makes of odd lines. (The writer: records/settings_dialog_test
// and the station_config fuzz target.)
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace treld
