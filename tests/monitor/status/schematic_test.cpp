// The switch diagram as the decoded status draws it.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "status_rig.h"

namespace treld::testing {
namespace {

using Names = std::vector<const char*>;

TEST(Schematic, EachSwitchShowsOnePictureAndItsLiveOrDeadSegmentAndIgnoresOtherDigits) {
    struct Case {
        int position;
        char closedAt;               // input and output switches are closed at 0, bypasses at 1
        Names whenClosed, whenOpen;  // switch picture and segments shown
    };
    const Case cases[] = {
        {36, '0', {"sw1", "Line15"}, {"sw2", "Line23"}},
        {8, '0', {"sw7", "Line3"}, {"sw8", "Line24"}},
        {34, '1', {"sw3", "Line12", "Line14"}, {"sw4", "Line19", "Line20"}},
        {17, '0', {"sw9", "Line4"}, {"sw10", "Line25"}},
        {35, '1', {"sw5", "Line7", "Line16"}, {"sw6", "Line21", "Line22"}},
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
            for (const char* name : c.whenClosed)
                EXPECT_EQ(rig.form1(name).visible(), isClosed) << name << shown;
            for (const char* name : c.whenOpen)
                EXPECT_EQ(rig.form1(name).visible(), !isClosed) << name << shown;
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
        StatusRig rig;  // a fresh one: a "2" keeps what the record before it set
        rig.feed(statusRecord({{36, c.output}, {34, c.bypass1}, {35, c.bypass2}}));
        EXPECT_EQ(rig.form1("Line26").visible(), c.dead) << c.output << c.bypass1 << c.bypass2;
        EXPECT_EQ(rig.form1("Line17").visible(), !c.dead) << c.output << c.bypass1 << c.bypass2;
    }
}

TEST(Schematic, TransferPathLineDependsOnTheSourceInUseAndThePathCode) {
    // {source, path, Line1 lit (else Line2)}, in one rig, so that a step with an
    // unknown value shows what it leaves standing
    const std::tuple<char, char, bool> steps[] = {
        {'0', '0', true},  {'1', '0', false}, {'1', '1', true},  {'0', '1', false},
        {'1', '2', true},  {'0', '5', false}, {'0', '7', false}, {'7', '4', false},
        {'1', '3', false}, {'0', '4', true},
    };
    StatusRig rig;
    for (auto [source, path, line1] : steps) {
        rig.feed(statusRecord({{38, source}, {39, path}}));
        EXPECT_EQ(rig.form1("Line1").visible(), line1) << source << path;
        EXPECT_EQ(rig.form1("Line2").visible(), !line1) << source << path;
    }
}

}  // namespace
}  // namespace treld::testing
