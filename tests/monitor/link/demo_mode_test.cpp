// Demo mode: DEMOSET.CFG as the monitor reads it, and the answers it gives to
// the poll cycle, to queued commands and to relay clients.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "link/demo_table.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class DemoMode : public ::testing::Test {
  protected:
    void start(const std::string& demoSet) {
        rig.writeFile("DEMOSET.CFG", demoSet);
        rig.start();
    }
    void chooseDemo() {  // in the Settings dialog
        rig.click("mnset");
        rig.select("Combo1", 0, Form::Form2);
        rig.click("Command1", Form::Form2);
    }
    // A relay client's answer to `request`.
    std::string relayed(const std::string& request) {
        const int slot = rig.ask(request + "\r");
        rig.runUntil([&] { return !rig.answers(slot).empty(); });
        return rig.answers(slot).at(0);
    }
    VirtualRig rig{"COMPORT:3\r\nTIMEOUT:1000\r\n"};
};

TEST_F(DemoMode, LinesAreTrimmedSplitAtTheFirstColonAndOnlyFiftyEntriesAnswer) {
    std::string file =
        "   SRV  :  #230 231  \r\nno colon\r\n\r\nW0032:written\r\nXF1:A:B\nsas:x\r\n";
    for (int i = 5; i <= 60; ++i)
        file += "K" + std::to_string(i) + ":A\r\n";
    start(file);
    const Texts& list = rig.element("List2").items();
    ASSERT_EQ(list.size(), 50u);
    EXPECT_EQ(Texts(list.begin(), list.begin() + 4),
              (Texts{"1-SRV#230 231", "2-W0032written", "3-XF1A:B", "4-sasx"}));
    EXPECT_EQ(list.back(), "50-K50A");
    // Only the poll commands' own (case-sensitive) keys take part in the relay cache.
    EXPECT_EQ(relayed("sas"), "OK\r\r");
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "sas"), 1) << "forwarded to the device";

    chooseDemo();
    EXPECT_EQ(rig.caption("Label24"), "Demo");
    // Option writes are found by "W0" and the address, any log request gets one record.
    Texts answers;
    for (const char* request : {"SRV", "W0032001", "XF1", "K50", "K51", "xf1", "LOG123"})
        answers.push_back(relayed(request));
    EXPECT_EQ(answers, (Texts{"#230 231\r", "written\r", "A:B\r", "A\r", "Timeout\r", "Timeout\r",
                              std::string(kDemoLogRecord) + "\r"}));
}

TEST_F(DemoMode, ShippedTableAnswersEverythingTheMonitorSendsInTheDemoPace) {
    std::ifstream shipped(TRELD_SHIPPED_DEMOSET, std::ios::binary);
    start(std::string(std::istreambuf_iterator<char>(shipped), {}));
    chooseDemo();
    rig.advance(1000);      // Save restarts polling a second later: SRV is answered
    rig.click("Command3");  // clock and date: "OK" without table entries
    rig.advance(17 * 10);   // 10 ms a step: ACL, AD and the seven commands
    EXPECT_EQ(rig.caption("Label81"), "");
    rig.advance(10);
    EXPECT_EQ(rig.caption("Label81") + rig.caption("Label8") + rig.caption("Label40"),
              "05/12/26230Data OK");

    rig.click("mnout");
    const std::int64_t clicked = rig.now();
    rig.runUntil([&] { return rig.caption("Label40") == "OK"; });
    EXPECT_EQ(rig.now() - clicked, 20 + 20) << "taken after the next reply, answered 20 ms later";

    for (std::string command : {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF", "OUT"})
        EXPECT_EQ(relayed(command), "OK\r") << command;
    for (int code = 32; code <= 44; ++code)
        EXPECT_EQ(relayed("W00" + std::to_string(code) + "001"), "OK\r") << code;
    const std::int64_t asked = rig.now();
    relayed("XF2");
    EXPECT_TRUE(rig.now() - asked > 50 && rig.now() - asked <= 60) << "50 ms after it was taken";

    rig.select("SSTab1", 1);  // the options cycle reads all thirteen
    rig.advance(1000);
    for (int n = 0; n <= 12; ++n)
        EXPECT_NE(rig.caption("Label32_" + std::to_string(n)), "") << "option " << n;
    EXPECT_EQ(rig.caption("Label40"), "Data OK");
    rig.select("SSTab1", 4);  // and the log download gets one record for each request
    rig.advance(10'000);
    const Texts& rows = rig.element("List1").items();
    ASSERT_EQ(rows.size(), 128u);
    EXPECT_EQ(rows[0] + rows[127],
              "0-10/09/2007  15:20 Service Login-127-10/09/2007  15:20 Service Login-");
    EXPECT_TRUE(rig.platform.serialWrites.empty());
}

}  // namespace
}  // namespace treld::testing
