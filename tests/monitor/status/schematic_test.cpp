// The switch diagram as the decoded status draws it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "status_rig.h"

namespace treld::testing {
namespace {

using Names = std::vector<const char*>;

TEST(Schematic, BeforeTheFirstStatusBothPicturesOfEverySwitchAndOnlyTheLiveLinesShow) {
    StatusRig rig;
    for (int n = 1; n <= 10; ++n)
        EXPECT_TRUE(rig.form1("sw" + std::to_string(n)).visible()) << n;
    const Names hidden = {"Line1",  "Line2",  "Line19", "Line20", "Line21",
                          "Line22", "Line23", "Line24", "Line25", "Line26"};
    for (int n = 1; n <= 26; ++n) {
        if (n == 9)
            continue;  // the diagram has no Line9
        const std::string line = "Line" + std::to_string(n);
        const bool expectHidden = std::find(hidden.begin(), hidden.end(), line) != hidden.end();
        EXPECT_EQ(rig.form1(line).visible(), !expectHidden) << line;
        EXPECT_EQ(rig.form1(line).backColour(), n >= 19 ? kRed : kGreen) << line;
    }
}

TEST(Schematic, EachSwitchShowsOnePictureAndItsLiveOrDeadSegmentAndIgnoresOtherDigits) {
    struct Case {
        int position;
        char closedAt;  // input and output switches are closed at 0, bypasses at 1
        const char *closed, *open;
        Names live, dead;
    };
    const Case cases[] = {
        {36, '0', "sw1", "sw2", {"Line15"}, {"Line23"}},
        {8, '0', "sw7", "sw8", {"Line3"}, {"Line24"}},
        {34, '1', "sw3", "sw4", {"Line12", "Line14"}, {"Line19", "Line20"}},
        {17, '0', "sw9", "sw10", {"Line4"}, {"Line25"}},
        {35, '1', "sw5", "sw6", {"Line7", "Line16"}, {"Line21", "Line22"}},
    };
    for (const Case& c : cases) {
        StatusRig rig;
        const char openAt = c.closedAt == '0' ? '1' : '0';
        bool isClosed = false;
        // a "2" leaves the switch as the record before it set it
        for (char shown : {openAt, c.closedAt, '2', openAt, '2'}) {
            if (shown != '2')
                isClosed = shown == c.closedAt;
            rig.feed(statusRecord({{c.position, shown}}));
            EXPECT_EQ(rig.form1(c.closed).visible(), isClosed) << c.closed << shown;
            EXPECT_EQ(rig.form1(c.open).visible(), !isClosed) << c.open << shown;
            for (const char* line : c.live)
                EXPECT_EQ(rig.form1(line).visible(), isClosed) << line << shown;
            for (const char* line : c.dead)
                EXPECT_EQ(rig.form1(line).visible(), !isClosed) << line << shown;
        }
    }
}

TEST(Schematic, LoadIsDeadOnlyWithTheOutputSwitchOpenAndNoBypassClosed) {
    struct Case {
        char output, bypass1, bypass2;
        bool dead;
    };
    const Case cases[] = {
        {'1', '0', '0', true},  {'1', '1', '0', false}, {'1', '0', '1', false},
        {'0', '0', '0', false}, {'2', '0', '0', false},
    };
    for (const Case& c : cases) {
        StatusRig rig;
        rig.feed(statusRecord({{36, c.output}, {34, c.bypass1}, {35, c.bypass2}}));
        EXPECT_EQ(rig.form1("Line26").visible(), c.dead) << c.output << c.bypass1 << c.bypass2;
        EXPECT_EQ(rig.form1("Line17").visible(), !c.dead) << c.output << c.bypass1 << c.bypass2;
    }
}

TEST(Schematic, TransferPathLineDependsOnTheSourceInUseAndThePathCode) {
    struct Step {
        char source, path;
        bool line1, line2;
    };
    // one rig, so each step also shows what an unknown value leaves standing
    const Step steps[] = {
        {'0', '0', true, false}, {'1', '0', false, true}, {'1', '1', true, false},
        {'0', '1', false, true}, {'1', '2', true, false}, {'0', '5', false, true},
        {'0', '7', false, true}, {'7', '4', false, true}, {'1', '3', false, true},
        {'0', '4', true, false},
    };
    StatusRig rig;
    for (const Step& s : steps) {
        rig.feed(statusRecord({{38, s.source}, {39, s.path}}));
        EXPECT_EQ(rig.form1("Line1").visible(), s.line1) << s.source << s.path;
        EXPECT_EQ(rig.form1("Line2").visible(), s.line2) << s.source << s.path;
    }
}

}  // namespace
}  // namespace treld::testing
