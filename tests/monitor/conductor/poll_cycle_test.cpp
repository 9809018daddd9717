// The poll cycle as seen on the wire: which command goes out when, and what
// the status line and the panels say, with the device played in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(PollCycle, SevenCommandsTwoShortTicksAfterEachReplyWithOperatorCommandsBetween) {
    VirtualRig rig;
    auto at = [&](std::size_t i) { return rig.platform.serialWrites.at(i).atMs; };
    rig.start();
    rig.runUntilSent(8);
    EXPECT_EQ(rig.commandsSent(), (Texts{"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT", "SRV"}));
    for (std::size_t i = 1; i < 8; ++i)  // reply after 20 ms, evaluated at 25, sent at 30
        EXPECT_EQ(at(i) - at(i - 1), 30) << i;
    EXPECT_EQ(rig.caption(kStatusLine) + rig.caption(kSendIndicator), "Data OK\\Local STS/com1");
    EXPECT_EQ(rig.caption(kVersion) + rig.caption(kStsTime),
              "STS-3P firmware 2.14 (sts-sim)\r14:05:10\r");

    // Logout goes out after the next reply; polling resumes in the tick that
    // shows its answer, or 3 s later without one; a tab change drops it.
    rig.click(kLogoutMenu);
    rig.runUntilSent(10);
    EXPECT_EQ(rig.commandsSent()[8] + rig.commandsSent()[9], "OUTSRV");
    EXPECT_EQ(at(9) - at(8), 25);
    EXPECT_EQ(rig.caption(kStatusLine) + rig.caption(kDeviceMessage), "Logout: OK\rOK\r");
    rig.advance(at(8) + 20 + 9'999 - rig.now());
    EXPECT_EQ(rig.caption(kDeviceMessage), "OK\r") << "a fixed reply shows for 10 s";
    rig.advance(1);
    EXPECT_EQ(rig.caption(kDeviceMessage), "");
    rig.fault("OUT").silent = true;
    rig.click(kLogoutMenu);
    rig.runUntil([&] { return rig.commandsSent().back() == "OUT"; });
    const std::size_t out = rig.platform.serialWrites.size() - 1;
    rig.runUntilSent(out + 2);
    EXPECT_EQ(at(out + 1) - at(out), 3000);
    rig.click(kLogoutMenu);
    rig.select("SSTab1", 4);
    rig.advance(1000);
    rig.select("SSTab1", 0);
    rig.advance(1000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "OUT"), 2);
}

TEST(PollCycle, SynchronizeSendsThePcsClockAndDateAfterTheExchangeUnderWay) {
    VirtualRig rig;
    rig.start();
    rig.runUntilSent(3);                                  // SST is out
    rig.platform.clockOffsetSeconds = 40 * 86400 - 7200;  // the PC's clock, not the device's
    rig.click(kSynchronize);
    rig.runUntilSent(6);  // the exchange under way finishes first
    EXPECT_EQ(rig.commandsSent(), (Texts{"SRV", "OPL", "SST", "ACL12:05\r", "AD140127\r", "SRV"}));
}

TEST(PollCycle, LineFaultsSayWhatFailedAndTheCycleGoesOnInTheTimeOutRhythm) {
    struct Case {
        const char* timeoutLine;
        bool opens;
        std::optional<std::string> srv;  // said instead of SRV's reply; none: silence
        int textAt;                      // ms after SRV was written
        const char* text;
        int oplAt;
    } const cases[] = {
        {"TIMEOUT:500\r\n", true, std::nullopt, 500, "Time out on com3", 3500},
        {"", true, std::nullopt, 1000, "Time out on com3", 4000},  // no key: 1 s
        {"TIMEOUT:0\r\n", true, std::nullopt, 1000, "Time out on com3", 4000},
        {"TIMEOUT:500\r\n", false, std::nullopt, 0, "COM 3 Not opened select another port", 0},
        {"TIMEOUT:500\r\n", true, std::string(10 << 20, '7') + "\r", 500, "Time out on com3",
         3500},  // kept to its bound, the CR never arrives
        {"TIMEOUT:500\r\n", true, "#230 231 2", 500, "Time out on com3", 3500},
    };
    for (const Case& c : cases) {
        VirtualRig rig(std::string("COMPORT:3\r\n") + c.timeoutLine);
        rig.platform.serialOpens = c.opens;
        rig.fault("SRV").reply = c.srv;
        rig.fault("SRV").silent = rig.fault("OPL").silent = !c.srv;
        rig.start();
        rig.advance(50 + c.textAt - 1);
        const bool forEver = std::string_view(c.timeoutLine) == "TIMEOUT:0\r\n";
        EXPECT_EQ(rig.caption(kStatusLine),
                  forEver ? "sts.cfg: TIMEOUT:0 replaced by TIMEOUT:1000" : "")
            << c.text << c.textAt;
        rig.advance(1);
        EXPECT_EQ(rig.caption(kStatusLine), c.text) << c.textAt;
        rig.advance(10'000);
        const auto& writes = rig.platform.serialWrites;
        if (!c.opens) {
            EXPECT_TRUE(writes.empty());
            continue;
        }
        EXPECT_EQ(writes.at(1).text + std::to_string(writes[1].atMs),
                  "OPL\r" + std::to_string(50 + c.oplAt));
        if (c.srv) {  // nothing of the fault is left for OPL's reply
            EXPECT_EQ(rig.caption("Label19"), rig.replied["OPL"].substr(1, 3)) << c.textAt;
        } else {  // SRV and OPL alternate, 3 s after each time-out
            EXPECT_EQ(writes.at(2).text + std::to_string(writes[2].atMs),
                      "SRV\r" + std::to_string(50 + 2 * c.oplAt));
        }
    }
}

TEST(MeasurementPanels, RepliesFillTheFieldsAsReceivedOrAreRejectedWhole) {
    const Texts sources = {"Label8",  "Label10", "Label12", "Label26",
                           "Label14", "Label16", "Label1",  "Label4"};
    const Texts output = {"Label19", "Label21", "Label23", "Label42",
                          "Label43", "Label44", "Label47", "Label49"};
    // command, its reply, the fields shown (none: all stay blank), Label40
    const std::tuple<std::string, std::string, Texts, const char*> cases[] = {
        {"SRV",  // NUL and high-bit bytes are shown as received
         std::string("#2\0000 2\3511 229 228 230 232 0500 0499\r", 36),
         {std::string("2\0000", 3), "2\3511", "229", "0500", "228", "230", "232", "0499"},
         "Data OK"},
        {"SRV", "#230 231 229 228 230 232 05000499\r", {}, "Data error SRV"},
        {"SRV", "#230 231\r", {}, "Data error SRV"},
        {"SRV", "#222 222 222 222 222 222 2222 \r", {}, "Data error SRV"},  // cut short
        {"SRV", "OK\r\n", {}, "Data error SRV"},  // not shown; in a read ending at CR it is
        {"OPL",
         kOplReadings,
         {"045", "050", "055", "010", "011", "012", "035 C", "002 deg"},
         "Data OK"},
        {"OPL", "?045 050 055 010 011 012 035 002\r", {}, "Data error OPL"},
    };
    for (const auto& [command, reply, expected, status] : cases) {
        for (const Texts& pieces :
             reply == "OK\r\n" ? std::vector<Texts>{{reply}} : everyArrival(reply)) {
            VirtualRig rig;
            rig.arrivals[command] = pieces;
            rig.start();
            rig.runPast(command);
            Texts shown;
            for (const std::string& field : command == "SRV" ? sources : output)
                shown.push_back(rig.caption(field));
            const std::string how = ::testing::PrintToString(pieces);
            EXPECT_EQ(shown, expected.empty() ? Texts(8) : expected) << how;
            EXPECT_EQ(rig.caption(kStatusLine), status) << how;
            EXPECT_EQ(rig.caption(kDeviceMessage), "") << how;
            const auto& writes = rig.platform.serialWrites;  // text after the CR holds nothing up
            EXPECT_LE(writes.end()[-1].atMs - writes.end()[-2].atMs, 20 + pieces.size() + 9) << how;
        }
    }
}

}  // namespace
}  // namespace treld::testing
