// Demo mode: DEMOSET.CFG as the monitor reads it, and the answers it gives to
// the poll cycle, to queued commands and to relay clients.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "link/demo_table.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

using Texts = std::vector<std::string>;

std::string withoutCr(std::string_view reply) {
    return std::string(reply.substr(0, reply.find('\r')));
}

class DemoMode : public ::testing::Test {
  protected:
    void SetUp() override { rig.writeConfig("COMPORT:3\r\nTIMEOUT:1000\r\n"); }
    void startInDemo(const std::string& demoSet) {
        rig.writeProgramFile("DEMOSET.CFG", demoSet);
        rig.start();
        rig.monitor.core().s.DemoMode = 1;
    }
    const CommandTableEntry& entry(int n) { return rig.monitor.core().s.CommandTable[n]; }
    const Texts& demoSetList() { return rig.monitor.ui()(Form::Form1, "List2").items(); }
    // The answer OZELGELDI (as) or DEMOGELDI gives to `command`.
    std::string answer(const std::string& command, bool asQueuedCommand) {
        Core& core = rig.monitor.core();
        core.s.Command = command;
        asQueuedCommand ? OZELGELDI(core) : DEMOGELDI(core);
        return core.s.Reply;
    }

    VirtualRig rig;
};

TEST_F(DemoMode, FileLinesAreTrimmedSplitAtTheFirstColonAndNumberedOnlyWhenTheyHaveOne) {
    startInDemo(
        "   SRV  :  #230 231  \r\n"
        "a line without a colon\r\n"
        "\r\n"
        "W0032:OK\r\n"
        "XF1:A:B\n"
        "sas:lower case\r\n");
    const struct {
        const char* key;
        const char* answer;
        Int16 active;
    } expected[] = {
        {"SRV", "#230 231", 1}, {"W0032", "OK", 0}, {"XF1", "A:B", 0}, {"sas", "lower case", 0}};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(entry(n).TableCommand, expected[n - 1].key) << n;
        EXPECT_EQ(entry(n).DemoReply, expected[n - 1].answer) << n;
        EXPECT_EQ(entry(n).TableActive, expected[n - 1].active) << n;
    }
    EXPECT_EQ(entry(5).TableCommand, "");
    EXPECT_EQ(demoSetList(), (Texts{"1-SRV#230 231", "2-W0032OK", "3-XF1A:B", "4-saslower case"}));
}

TEST_F(DemoMode, SixtyEntriesLoadTheFirstFiftyAndStartUpGoesOn) {
    std::string file;
    for (int i = 1; i <= 60; ++i)
        file += "K" + std::to_string(i) + ":A" + std::to_string(i) + "\r\n";
    startInDemo(file);
    ASSERT_EQ(demoSetList().size(), 50u);
    EXPECT_EQ(demoSetList().back(), "50-K50A50");
    EXPECT_EQ(entry(50).TableCommand, "K50");
    EXPECT_EQ(rig.monitor.core().config.ComPort, 3) << "sts.cfg is still read";
}

TEST_F(DemoMode, TableAnswersTheCommandsOfEachCaller) {
    startInDemo("XF1:done\r\nW0032:written\r\nW0032001:full key\r\nLOG005:never\r\nxf2:lower\r\n");
    struct Case {
        const char* command;
        bool asQueuedCommand;
        std::string expected;
    };
    const Case cases[] = {
        {"XF1", false, "done"},
        {"XF1", true, "done"},
        {"W0032001\r", true, "written"},  // option writes: "W0" and the address
        {"W0032001\r", false, ""},
        {"W0032001", false, "full key"},
        {"LOG005", false, std::string(kDemoLogRecord)},
        {"LOG123", true, std::string(kDemoLogRecord)},
        {"XF2", false, ""},  // keys are case-sensitive
        {"SRV", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(answer(c.command, c.asQueuedCommand), c.expected) << c.command;
}

TEST_F(DemoMode, CycleStepsEvery10MsWithoutTouchingTheSerialPort) {
    // The table holds replies without their CR.
    startInDemo("SRV:" + withoutCr(kSrvReply) + "\r\nOPL:" + withoutCr(kOplReply) +
                "\r\nSST:#0\r\nSAS:" + withoutCr(kSasReply) +
                "\r\nFIR:V9\r\nCLK:#12:00\r\nDAT:#01/01/26\r\nXF2:OK\r\n");
    rig.advance(50 + 13 * 10);  // a send or an evaluation every 10 ms: one cycle
    EXPECT_EQ(rig.caption("Label8"), "230");
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    EXPECT_EQ(rig.monitor.core().s.PollStep, 1);

    rig.monitor.click(Form::Form1, "Command3");  // clock and date: "OK" without table entries
    rig.advance(4 * 10);
    EXPECT_EQ(rig.monitor.core().s.PollStep, 1) << "no time-out on ACL and AD";

    ProgramState& s = rig.monitor.core().s;
    s.PollState = "XF2";  // a queued command is answered 20 ms after it is taken
    rig.runUntil([&] { return s.PollState == kAwaiting; }, 1000);
    std::int64_t takenAt = rig.now();
    rig.runUntil([&] { return s.PollState.empty(); }, 1000);
    EXPECT_EQ(rig.now() - takenAt, 20);
    EXPECT_EQ(rig.caption("Label40"), "OK");

    rig.monitor.onRelayConnectionRequest();
    rig.monitor.onRelayData(1, "SRV\r");
    EXPECT_EQ(rig.platform.relaySends[1], Texts{kSrvReply}) << "demo answer and CR";
    rig.monitor.onRelayConnectionRequest();
    rig.monitor.onRelayData(2, "XF2\r");  // forwarded: answered 50 ms after it is taken
    rig.runUntil([&] { return s.RelayCommand == kAwaiting; }, 1000);
    takenAt = rig.now();
    rig.runUntil([&] { return !rig.platform.relaySends[2].empty(); }, 1000);
    EXPECT_EQ(rig.now() - takenAt, 50);
    EXPECT_EQ(rig.platform.relaySends[2], Texts{"OK\r"});
    EXPECT_TRUE(rig.platform.serialWrites.empty());
    EXPECT_EQ(rig.caption("Label56"), "");
}

// The DEMOSET.CFG shipped with the program answers everything the monitor sends.
TEST_F(DemoMode, ShippedTableGivesACompleteDemonstration) {
    std::ifstream shipped(TRELD_SHIPPED_DEMOSET, std::ios::binary);
    ASSERT_TRUE(shipped) << TRELD_SHIPPED_DEMOSET;
    std::ostringstream text;
    text << shipped.rdbuf();
    startInDemo(text.str());

    Texts commands = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT", "OUT"};
    for (const char* command : {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF"})
        commands.push_back(command);
    for (int code = 32; code <= 44; ++code)
        commands.push_back("M00" + std::to_string(code));
    for (const std::string& command : commands)
        EXPECT_NE(answer(command, false), "") << command;
    for (int code = 32; code <= 44; ++code)
        EXPECT_EQ(answer("W00" + std::to_string(code) + "001\r", true), "OK") << code;

    bool dataError = false;
    rig.runUntil(
        [&] {
            dataError = dataError || rig.caption("Label40").starts_with("Data error");
            return rig.now() > 1000;
        },
        2000);
    EXPECT_FALSE(dataError) << rig.caption("Label40");
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
}

}  // namespace
}  // namespace treld::testing
