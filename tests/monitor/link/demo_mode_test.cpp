// Demo mode: DEMOSET.CFG as the monitor reads it, and the answers it gives to
// the poll cycle, to queued commands and to relay clients.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "link/command_slot.h"
#include "link/demo_table.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class DemoMode : public ::testing::Test {
  protected:
    void startInDemo(const std::string& demoSet) {
        rig.writeConfig("COMPORT:3\r\nTIMEOUT:1000\r\n");
        rig.writeProgramFile("DEMOSET.CFG", demoSet);
        rig.start();
        rig.monitor.core().s.DemoMode = 1;
    }
    // The answer of OZELGELDI (queued commands) or DEMOGELDI (sent commands).
    std::string answer(const std::string& command, bool queued) {
        Core& core = rig.monitor.core();
        core.s.Command = command;
        queued ? OZELGELDI(core) : DEMOGELDI(core);
        return core.s.Reply;
    }
    VirtualRig rig;
};

TEST_F(DemoMode, LinesAreTrimmedSplitAtTheFirstColonAndOnlyFiftyEntriesAreRead) {
    std::string file = "   SRV  :  #230 231  \r\nno colon\r\n\r\nW0032:OK\r\nXF1:A:B\nsas:x\r\n";
    for (int i = 5; i <= 60; ++i)
        file += "K" + std::to_string(i) + ":A\r\n";
    startInDemo(file);

    const Texts& list = rig.monitor.ui()(Form::Form1, "List2").items();
    ASSERT_EQ(list.size(), 50u);
    EXPECT_EQ(Texts(list.begin(), list.begin() + 4),
              (Texts{"1-SRV#230 231", "2-W0032OK", "3-XF1A:B", "4-sasx"}));
    EXPECT_EQ(list.back(), "50-K50A");
    const auto& table = rig.monitor.core().s.CommandTable;
    EXPECT_EQ(table[1].TableActive, 1);
    EXPECT_EQ(table[2].TableActive + table[4].TableActive, 0) << "only poll keys, case-sensitive";
}

TEST_F(DemoMode, TableAnswersTheTextsOfEachCaller) {
    startInDemo("XF1:done\r\nW0032:written\r\nW0032001:full key\r\nLOG005:never\r\nxf2:lower\r\n");
    const std::tuple<const char*, bool, std::string> cases[] = {
        {"XF1", false, "done"},
        {"W0032001\r", true, "written"},  // option writes: "W0" and the address
        {"W0032001\r", false, ""},
        {"W0032001", false, "full key"},
        {"LOG005", false, std::string(kDemoLogRecord)},
        {"LOG123", true, std::string(kDemoLogRecord)},
        {"XF2", false, ""},  // keys are case-sensitive
    };
    for (const auto& [command, queued, expected] : cases)
        EXPECT_EQ(answer(command, queued), expected) << command << (queued ? " queued" : "");
}

TEST_F(DemoMode, ShippedTableAnswersEverythingTheMonitorSendsInTheDemoPace) {
    std::ifstream shipped(TRELD_SHIPPED_DEMOSET, std::ios::binary);
    startInDemo(std::string(std::istreambuf_iterator<char>(shipped), {}));
    for (const char* command : {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF", "OUT"})
        EXPECT_EQ(answer(command, true), "OK") << command;
    for (int code = 32; code <= 44; ++code)
        EXPECT_EQ(answer("W00" + std::to_string(code) + "001\r", true), "OK") << code;

    // 10 ms per step, queued commands answered after 20 ms, relayed ones after 50
    rig.monitor.click(Form::Form1, "Command3");  // clock and date: "OK" without table entries
    rig.advance(50 + 17 * 10);                   // ACL, AD and the seven commands
    ProgramState& s = rig.monitor.core().s;
    EXPECT_EQ(s.PollStep, 1);
    EXPECT_EQ(rig.caption("Label8"), "230");
    EXPECT_EQ(rig.caption("Label40"), "Data OK");

    s.PollState = "XF2";
    rig.runUntil([&] { return s.PollState == kAwaiting; }, 1000);
    std::int64_t takenAt = rig.now();
    rig.runUntil([&] { return s.PollState.empty(); }, 1000);
    EXPECT_EQ(rig.now() - takenAt, 20);
    EXPECT_EQ(rig.caption("Label40"), "OK");

    rig.monitor.onRelayConnectionRequest();
    rig.monitor.onRelayData(1, "SRV\r");
    EXPECT_EQ(rig.platform.relaySends[1], Texts{kSrvReply}) << "the demo answer and CR";
    rig.monitor.onRelayConnectionRequest();
    rig.monitor.onRelayData(2, "XF2\r");
    rig.runUntil([&] { return rig.monitor.core().relay.awaitingReply(); }, 1000);
    takenAt = rig.now();
    rig.runUntil([&] { return !rig.platform.relaySends[2].empty(); }, 1000);
    EXPECT_EQ(rig.now() - takenAt, 50);
    EXPECT_EQ(rig.platform.relaySends[2], Texts{"OK\r"});

    rig.monitor.select(Form::Form1, "SSTab1", 1);  // the options cycle reads all thirteen
    rig.advance(1000);
    for (int n = 0; n <= 12; ++n)
        EXPECT_NE(rig.caption("Label32_" + std::to_string(n)), "") << "option " << n;
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    EXPECT_TRUE(rig.platform.serialWrites.empty());
}

}  // namespace
}  // namespace treld::testing
