// The status record as the operator sees it: fault texts, titles, tint, sound
// state, the switch diagram, and what a rejected record leaves alone.
#include <gtest/gtest.h>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

// A monitor on the Control tab, where the status alone is polled.
struct StatusRig : VirtualRig {
    explicit StatusRig(const std::string& config = "COMPORT:1\r\n") : VirtualRig(config) {
        start();
        monitor.select(Form::Form1, "SSTab1", 3);
    }
};

TEST(StatusDecoding, FaultTextsTitleSourcesSoundAndTintFollowTheirDigitsLocallyAndRemotely) {
    // The three fault fields show the text of their last set flag, on red.
    const std::pair<std::string, std::string> faults[] = {
        {statusRecord({{2, '1'}, {9, '1'}}), "S1 SCR failure||"},
        {statusRecord({{11, '1'}, {17, '1'}, {36, '1'}}), "|S2 input sw off|Output switch off"},
        // any digit but 0 sets a flag; other characters read as 0
        {statusRecord({{23, '2'}, {24, 'x'}, {5, '9'}}), "S1 Black out||Overload"},
        // flags without a fault text leave the fields alone
        {statusRecord({{4, '1'}, {20, '1'}, {22, '1'}, {31, '1'}}), "||"},
    };
    StatusRig rig("COMPORT:1\r\nREMOTEIP1:10.0.0.7\r\n");
    for (const auto& [record, texts] : faults) {
        rig.showStatus(record);
        std::string shown;
        for (const char* field : {"Label2", "Label27", "Label28"}) {
            shown += (shown.empty() && field[5] == '2' ? "" : "|") + rig.caption(field);
            EXPECT_EQ(rig.element(field).backColour(),
                      rig.caption(field).empty() ? kButtonFace : kRed);
        }
        EXPECT_EQ(shown, texts);
    }
    rig.showStatus(statusRecord({{40, '1'}, {42, '1'}, {20, '1'}, {38, '1'}, {41, '1'}}));
    EXPECT_EQ(rig.caption("Form1"), "ZID evevori/Service Login(Local)");  // service wins
    EXPECT_EQ(rig.caption("Frame1") + "|" + rig.caption("Frame2"), "Source1 (Bad)|Source2 (Good)");
    EXPECT_EQ(rig.caption("Label36"), "Sound off");
    EXPECT_EQ(rig.element("Label12").backColour(), kLightYellow);
    EXPECT_EQ(rig.element("Label1").backColour(), kLightGreen);
    rig.select("List3", 1);
    rig.click("Command5");
    rig.showStatus(statusRecord({{42, '2'}, {38, '7'}}));  // an unknown source keeps the tint
    EXPECT_EQ(rig.caption("Form1"), "ZID evevori/User Login(Remote)");
    EXPECT_EQ(rig.element("Label12").backColour(), kLightYellow);
    // a record that ends after its last separator reads the digits as 0
    rig.showStatus(statusRecord().substr(0, 37) + "\r");
    EXPECT_EQ(rig.caption("Form1") + "|" + rig.caption("Label36"),
              "ZID evevori/Logout(Remote)|Sound on");
    EXPECT_EQ(rig.element("Label12").backColour(), kLightGreen);
}

TEST(StatusDecoding, SteadyStatusRewritesNothingAndARejectedOneOnlyReportsDataError) {
    const std::string good = statusRecord();
    const std::string rejected[] = {
        " " + good,                                  // shifted
        good.substr(0, 36) + "\r",                   // short
        good.substr(0, 27) + "0" + good.substr(28),  // separator 28
        good.substr(0, 36) + "0" + good.substr(37),  // separator 37
        "$" + good.substr(1),
        "Can not open com\r",
    };
    StatusRig rig("COMPORT:1\r\nEMAILENABLE:1\r\n");
    rig.click("mnalarm");
    const std::string fault = statusRecord({{8, '1'}, {14, '1'}, {38, '1'}, {40, '1'}});
    rig.showStatus(fault);
    const int steady = rig.writesTo(Form::Form1);
    rig.showStatus(fault);
    EXPECT_EQ(rig.writesTo(Form::Form1), steady);
    for (const std::string& record : rejected) {
        const int form1Writes = rig.writesTo(Form::Form1);
        const int form4Writes = rig.writesTo(Form::Form4);
        rig.sts.replies["SAS"] = DeviceReply{record};
        rig.runPast("SAS");
        EXPECT_EQ(rig.caption("Label40"), "Data error SAS") << record;
        EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 1) << record;  // Label40 alone
        EXPECT_EQ(rig.writesTo(Form::Form4), form4Writes) << record;
        rig.sts.replies.erase("SAS");
        rig.showStatus(fault);  // as before the rejected one: nothing new to show
        EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 2) << record;  // "Data OK" again
    }
    EXPECT_EQ(rig.platform.startedPrograms.size(), 1u) << "one mail for the one alarm";
}

TEST(Schematic, EachSwitchShowsOnePictureAndItsLiveOrDeadSegmentAndKeepsItOnOtherDigits) {
    struct Case {
        int position;
        char closedAt;  // input and output switches are closed at 0, bypasses at 1
        std::vector<const char*> whenClosed, whenOpen;  // switch picture and segments shown
    } const cases[] = {
        {36, '0', {"sw1", "Line15"}, {"sw2", "Line23"}},
        {8, '0', {"sw7", "Line3"}, {"sw8", "Line24"}},
        {34, '1', {"sw3", "Line12", "Line14"}, {"sw4", "Line19", "Line20"}},
        {17, '0', {"sw9", "Line4"}, {"sw10", "Line25"}},
        {35, '1', {"sw5", "Line7", "Line16"}, {"sw6", "Line21", "Line22"}},
    };
    StatusRig rig;
    for (const Case& c : cases) {
        const char openAt = c.closedAt == '0' ? '1' : '0';
        bool isClosed = false;
        for (char shown : {openAt, c.closedAt, '2', openAt, '2'}) {
            if (shown != '2')
                isClosed = shown == c.closedAt;
            rig.showStatus(statusRecord({{c.position, shown}}));
            for (const char* name : c.whenClosed)
                EXPECT_EQ(rig.element(name).visible(), isClosed) << name << shown;
            for (const char* name : c.whenOpen)
                EXPECT_EQ(rig.element(name).visible(), !isClosed) << name << shown;
        }
    }
    // The load is dead only with the output switch open and no bypass closed.
    const std::tuple<char, char, char, bool> loads[] = {
        {'1', '0', '0', true},  {'1', '1', '0', false}, {'1', '0', '1', false},
        {'0', '0', '0', false}, {'2', '0', '0', false},
    };
    for (auto [output, bypass1, bypass2, dead] : loads) {
        rig.showStatus(statusRecord({{36, output}, {34, bypass1}, {35, bypass2}}));
        EXPECT_EQ(rig.element("Line26").visible(), dead) << output << bypass1 << bypass2;
        EXPECT_EQ(rig.element("Line17").visible(), !dead) << output << bypass1 << bypass2;
    }
    // The transfer path follows the source in use and the path code; an
    // unknown value leaves it standing.
    const std::tuple<char, char, bool> paths[] = {
        {'0', '0', true},  {'1', '0', false}, {'1', '1', true},  {'0', '1', false},
        {'1', '2', true},  {'0', '5', false}, {'0', '7', false}, {'7', '4', false},
        {'1', '3', false}, {'0', '4', true},
    };
    for (auto [source, path, line1] : paths) {
        rig.showStatus(statusRecord({{38, source}, {39, path}}));
        EXPECT_EQ(rig.element("Line1").visible(), line1) << source << path;
        EXPECT_EQ(rig.element("Line2").visible(), !line1) << source << path;
    }
}

}  // namespace
}  // namespace treld::testing
