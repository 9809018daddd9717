// The "User options" tab: the read cycle, the editor and "Update STS", with
// the device played in virtual time.
#include "scripted_sts.h"

namespace treld::testing {
namespace {

class OptionsTab : public DeviceTest {
  protected:
    void SetUp() override {
        sts.options = {2, 0, 15, 1, 30, 6, 1, 0, 1, 3, 1, 0, 1};
        start(1);
    }
    // Runs until the status poll that closes a cycle has been evaluated.
    void finishCycle() {
        rig.runUntil([&] { return lastSent("SAS"); }, 20'000);
        rig.runUntil([&] { return core().s.PollStep == 100; }, 5'000);
    }
};

TEST_F(OptionsTab, FullCycleShowsEveryOptionMaskedAndLoadsTheEditor) {
    finishCycle();
    EXPECT_EQ(rig.commandsSent().size(), 14u) << "thirteen options, then the status poll";
    // Masked: 2 AND 1 is "Source 1"; 6 AND 3 is the second "Disable". 2 and 4 are numbers.
    std::string shown, selected;
    for (int n = 0; n < 13; ++n) {
        const std::string i = std::to_string(n);
        shown += element("Label32_" + i).caption() + "|";
        selected += (n == 2 || n == 4) ? element("Label30_" + i).caption() + "=" +
                                             std::to_string(element("UpDown1_" + i).value())
                                       : std::to_string(element("Combo1_" + i).listIndex());
        selected += " ";
    }
    EXPECT_EQ(shown,
              "Source 1|Off|15|Enable|30|Disable|Manual|Automatic|ON|Flying XFER|On|Off|Flying|");
    EXPECT_EQ(selected, "0 0 15=15 1 30=30 2 1 0 1 3 1 0 1 ");
    EXPECT_EQ(core().options.EditedOption, 12) << "the editor holds the last option read";
    EXPECT_EQ(core().s.OptionsRefresh, 0);
}

TEST_F(OptionsTab, WriteQueuedMidCycleGoesOutInsteadOfTheDisplayAndAllOptionsAreReadAgain) {
    finishCycle();
    core().status.UserLoginActive = 1;
    rig.runUntil([&] { return lastSent("M0036"); }, 5'000);
    const std::size_t before = rig.commandsSent().size();
    rig.monitor.select(Form::Form1, "Combo1_7", 1);  // "inhibit reset": "Manual"
    rig.monitor.click(Form::Form1, "Command1");
    EXPECT_EQ(core().s.PollState, "W0039001\r");

    finishCycle();
    const Commands sent = sentFrom(before);
    ASSERT_EQ(sent.size(), 1u + 14) << "a complete re-read follows the write";
    EXPECT_EQ(Commands(sent.begin(), sent.begin() + 3), (Commands{"W0039001\r", "M0032", "M0033"}));
    EXPECT_EQ(element("Label32_7").caption(), "Manual");
}

TEST_F(OptionsTab, UpdateStsWritesOnlyTheOperatorsLastChoiceOfAWritableOption) {
    struct Case {
        const char* name;
        bool loggedIn;
        std::vector<std::pair<int, int>> picks;  // selector, position
        const char* queued;
    } const cases[] = {
        {"nothing picked since start-up", true, {}, ""},
        {"two selectors: only the later one", true, {{3, 0}, {5, 3}}, "W0037003\r"},
        {"SCR fault alarm is never written", true, {{11, 1}}, ""},
        {"Manual XFER mode is never written", true, {{12, 0}}, ""},
        {"not logged in", false, {{0, 1}}, ""},
        {"no such selector or entry", true, {{2, 0}, {13, 0}, {0, 2}, {0, -1}}, ""},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        rig.start();
        rig.monitor.core().status.ServiceLoginActive = c.loggedIn;
        for (auto [selector, position] : c.picks)
            rig.monitor.select(Form::Form1, "Combo1_" + std::to_string(selector), position);
        rig.monitor.click(Form::Form1, "Command1");
        EXPECT_EQ(rig.monitor.core().s.PollState, c.queued) << c.name;
        EXPECT_EQ(rig.monitor.ui()(Form::Form3, "Form3").visible(), !c.loggedIn) << c.name;
    }
}

TEST_F(OptionsTab, OptionThatNeverAnswersHoldsTheCycle) {
    sts.silentOn = {"M0034"};
    rig.advance(50 + 3 * 4000);
    EXPECT_EQ(rig.commandsSent(), (Commands{"M0032", "M0033", "M0034", "M0034", "M0034"}));
    EXPECT_EQ(rig.platform.serialWrites[4].atMs - rig.platform.serialWrites[3].atMs, 1000 + 3000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
}

}  // namespace
}  // namespace treld::testing
