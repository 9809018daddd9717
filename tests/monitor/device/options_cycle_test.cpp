// The "User options" tab: the read cycle, the editor and "Update STS", with
// the device played in virtual time.
#include <gtest/gtest.h>

#include "scripted_sts.h"

namespace treld::testing {
namespace {

using Commands = std::vector<std::string>;

class OptionsTab : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        sts.options = {2, 0, 15, 1, 30, 6, 1, 0, 1, 3, 1, 0, 1};
        rig.device = std::ref(sts);
        rig.start();
        rig.monitor.select(Form::Form1, "SSTab1", 1);
    }
    // Runs until the status poll that closes a cycle has been evaluated.
    void finishCycle() {
        rig.runUntil([&] { return lastSent(rig, "SAS"); }, 20'000);
        rig.runUntil([&] { return core().s.PollStep == 100; }, 5'000);
    }
    Core& core() { return rig.monitor.core(); }
    Element& element(const std::string& name) { return rig.monitor.ui()(Form::Form1, name); }

    VirtualRig rig;
    ScriptedSts sts;
};

TEST_F(OptionsTab, FullCycleShowsEveryOptionMaskedAndLoadsTheEditor) {
    finishCycle();
    EXPECT_EQ(rig.commandsSent(),
              (Commands{"M0032", "M0033", "M0034", "M0035", "M0036", "M0037", "M0038", "M0039",
                        "M0040", "M0041", "M0042", "M0043", "M0044", "SAS"}));
    // Masked: 2 AND 1 is "Source 1"; 6 AND 3 is the second "Disable". -1: a number field.
    const char* const kShown[] = {"Source 1", "Off",    "15",        "Enable", "30",
                                  "Disable",  "Manual", "Automatic", "ON",     "Flying XFER",
                                  "On",       "Off",    "Flying"};
    const int kSelected[] = {0, 0, -1, 1, -1, 2, 1, 0, 1, 3, 1, 0, 1};
    for (int n = 0; n < 13; ++n) {
        const std::string i = std::to_string(n);
        EXPECT_EQ(element("Label32_" + i).caption(), kShown[n]) << "option " << n;
        if (kSelected[n] >= 0) {
            EXPECT_EQ(element("Combo1_" + i).listIndex(), kSelected[n]) << "option " << n;
        } else {
            EXPECT_EQ(element("Label30_" + i).caption(), kShown[n]);
            EXPECT_EQ(element("UpDown1_" + i).value(), std::stoi(kShown[n]));
        }
    }
    EXPECT_EQ(core().options.OptionValues[2], 0) << "numeric options live only in their text";
    EXPECT_EQ(core().options.EditedOption, 12);
    EXPECT_EQ(core().options.EditedValue, 1);
    EXPECT_EQ(core().s.OptionsRefresh, 0);
}

TEST_F(OptionsTab, WriteQueuedMidCycleGoesOutInsteadOfTheDisplayAndAllOptionsAreReadAgain) {
    finishCycle();
    core().status.UserLoginActive = 1;
    rig.runUntil([&] { return lastSent(rig, "M0036"); }, 5'000);
    const std::size_t before = rig.commandsSent().size();
    rig.monitor.select(Form::Form1, "Combo1_7", 1);  // "inhibit reset": "Manual"
    rig.monitor.click(Form::Form1, "Command1");
    EXPECT_EQ(core().s.PollState, "W0039001\r");

    finishCycle();
    const Commands sent = rig.commandsSent();
    EXPECT_EQ(Commands(sent.begin() + before, sent.begin() + before + 3),
              (Commands{"W0039001\r", "M0032", "M0033"}));
    EXPECT_EQ(sent.back(), "SAS");
    EXPECT_EQ(sent.size(), before + 1 + 14) << "a complete re-read follows the write";
    EXPECT_EQ(rig.caption("Label40"), "OK\r");
    EXPECT_EQ(element("Label32_7").caption(), "Manual");
    EXPECT_EQ(element("Combo1_7").listIndex(), 1);
    EXPECT_EQ(core().options.EditedOption, 12) << "the editor was loaded again";
}

TEST_F(OptionsTab, UpdateStsWritesOnlyTheOperatorsLastChoiceOfAWritableOption) {
    struct Case {
        const char* name;
        bool loggedIn;
        std::vector<std::pair<int, int>> picks;  // selector, position
        const char* queued;
    };
    const Case cases[] = {
        {"nothing picked since start-up", true, {}, ""},
        {"two selectors: only the later one", true, {{3, 0}, {7, 1}}, "W0039001\r"},
        {"option 5 at its fourth entry", true, {{5, 3}}, "W0037003\r"},
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
        const Element& dialog = rig.monitor.ui()(Form::Form3, "Form3");
        EXPECT_EQ(dialog.visible(), !c.loggedIn) << c.name;
        if (!c.loggedIn) {
            EXPECT_EQ(dialog.caption(), "STS user logon");
        }
    }
}

TEST_F(OptionsTab, OptionThatNeverAnswersHoldsTheCycle) {
    sts.silentOn = {"M0034"};
    rig.advance(50 + 3 * 4000);
    const Commands sent = rig.commandsSent();
    EXPECT_EQ(sent, (Commands{"M0032", "M0033", "M0034", "M0034", "M0034"}));
    const auto& writes = rig.platform.serialWrites;
    EXPECT_EQ(writes[4].atMs - writes[3].atMs, 1000 + 3000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
    EXPECT_EQ(element("Label32_2").caption(), "");
}

}  // namespace
}  // namespace treld::testing
