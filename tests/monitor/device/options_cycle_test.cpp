// The "User options" tab: the read cycle, the editor and "Update STS", with
// the device played in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

Texts optionWrites(VirtualRig& rig) {
    Texts writes;
    std::ranges::copy_if(rig.commandsSent(), std::back_inserter(writes),
                         [](const std::string& c) { return c.starts_with("W"); });
    return writes;
}

TEST(OptionsTab, CycleShowsEveryOptionMaskedLoadsTheEditorOnceAndReadsAllAgainAfterAWrite) {
    VirtualRig rig;
    rig.sts.options = {2, 0, 15, 1, 30, 6, 1, 0, 1, 3, 1, 0, 1};
    rig.sts.status = statusRecord({{42, '1'}});
    rig.start();
    rig.select("SSTab1", 1);
    rig.runPast("SAS");
    Texts reads = rig.commandsSent();
    EXPECT_EQ(reads.size(), 15u) << "thirteen options, the status poll, the first option again";
    EXPECT_EQ(reads[12] + reads[13] + reads[14], "M0044SASM0032");
    // Masked: 2 AND 1 is "Source 1"; 6 AND 3 is the second "Disable". 2 and 4 are numbers.
    std::string shown, selected;
    for (int n = 0; n < 13; ++n) {
        const std::string i = std::to_string(n);
        shown += rig.caption("Label32_" + i) + "|";
        selected += (n == 2 || n == 4) ? rig.caption("Label30_" + i) + "=" +
                                             std::to_string(rig.element("UpDown1_" + i).value())
                                       : std::to_string(rig.element("Combo1_" + i).listIndex());
        selected += " ";
    }
    EXPECT_EQ(shown,
              "Source 1|Off|15|Enable|30|Disable|Manual|Automatic|ON|Flying XFER|On|Off|Flying|");
    EXPECT_EQ(selected, "0 0 15=15 1 30=30 2 1 0 1 3 1 0 1 ");

    rig.click("Command1");  // the loaded values are no choice to write
    rig.select("Combo1_3", 0);
    rig.runPast("SAS");
    EXPECT_EQ(rig.element("Combo1_3").listIndex(), 0) << "the editor is loaded once";
    EXPECT_TRUE(optionWrites(rig).empty());

    // A write queued mid-cycle goes out instead of the next display.
    rig.runUntil([&] { return rig.commandsSent().back() == "M0036"; });
    const std::size_t before = rig.platform.serialWrites.size();
    rig.select("Combo1_7", 1);  // "inhibit reset": "Manual"
    rig.click("Command1");
    rig.runPast("SAS");
    reads = rig.commandsSent();
    reads.erase(reads.begin(), reads.begin() + before);
    ASSERT_EQ(reads.size(), 1u + 15) << "a complete re-read follows the write";
    EXPECT_EQ(Texts(reads.begin(), reads.begin() + 3), (Texts{"W0039001\r", "M0032", "M0033"}));
    EXPECT_EQ(rig.caption("Label32_7"), "Manual");
    EXPECT_EQ(rig.caption("Label32_3"), "Enable") << "the unsent pick changed nothing";
}

TEST(OptionsTab, UpdateStsWritesOnlyTheOperatorsLastChoiceOfAWritableOption) {
    struct Case {
        const char* name;
        bool loggedIn;
        std::vector<std::pair<int, int>> picks;  // selector, position
        Texts written;
    } const cases[] = {
        {"nothing picked since start-up", true, {}, {}},
        {"two selectors: only the later one", true, {{3, 0}, {5, 3}}, {"W0037003\r"}},
        {"SCR fault alarm is never written", true, {{11, 1}}, {}},
        {"Manual XFER mode is never written", true, {{12, 0}}, {}},
        {"not logged in", false, {{0, 1}}, {}},
        {"no such selector or entry", true, {{2, 0}, {13, 0}, {0, 2}, {0, -1}}, {}},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        rig.sts.status = statusRecord({{40, c.loggedIn ? '1' : '0'}});
        rig.start();
        rig.runPast("SAS");
        for (auto [selector, position] : c.picks)
            rig.select("Combo1_" + std::to_string(selector), position);
        rig.click("Command1");
        rig.advance(500);
        EXPECT_EQ(optionWrites(rig), c.written) << c.name;
        EXPECT_EQ(rig.element("Form3", Form::Form3).visible(), !c.loggedIn) << c.name;
    }
}

TEST(OptionsTab, OptionThatNeverAnswersHoldsTheCycle) {
    VirtualRig rig;
    rig.sts.replies["M0034"] = std::nullopt;
    rig.start();
    rig.select("SSTab1", 1);
    rig.advance(50 + 3 * 4000);
    EXPECT_EQ(rig.commandsSent(), (Texts{"M0032", "M0033", "M0034", "M0034", "M0034"}));
    EXPECT_EQ(rig.platform.serialWrites[4].atMs - rig.platform.serialWrites[3].atMs, 1000 + 3000);
    EXPECT_EQ(rig.caption("Label40"), "Time out on com1");
}

}  // namespace
}  // namespace treld::testing
