// The status record as the operator sees it: fault texts, titles, tint,
// sound state, and what a rejected record leaves alone.
#include <gtest/gtest.h>

#include "status_rig.h"

namespace treld::testing {
namespace {

TEST(StatusDecoding, AllClearRecordFromTheDeviceShowsAHealthyStationOnTheLocalLink) {
    VirtualRig rig;
    rig.writeConfig("COMPORT:1\r\n");
    rig.device = answeringDevice;
    rig.start();
    rig.runUntil([&] { return rig.commandsSent().size() >= 5; }, 10'000);  // past "SAS"

    auto& ui = rig.monitor.ui();
    for (const char* field : {"Label2", "Label27", "Label28"}) {
        EXPECT_EQ(rig.caption(field), "") << field;
        EXPECT_EQ(ui(Form::Form1, field).backColour(), kButtonFace) << field;
    }
    EXPECT_EQ(rig.caption("Frame1"), "Source1 (Good)");
    EXPECT_EQ(rig.caption("Frame2"), "Source2 (Good)");
    EXPECT_EQ(ui(Form::Form1, "Label8").backColour(), kLightGreen);
    EXPECT_EQ(ui(Form::Form1, "Label4").backColour(), kLightYellow);
    EXPECT_EQ(rig.caption("Label36"), "Sound on");
    EXPECT_EQ(rig.caption("Form1"), "ZID evevori/Logout(Local)");
}

TEST(StatusDecoding, EachFaultFieldShowsItsLastSetFlagOnRed) {
    struct Case {
        std::string record;
        const char *label2, *label27, *label28;
    };
    const Case cases[] = {
        {statusRecord({{2, '1'}, {9, '1'}}), "S1 SCR failure", "", ""},
        {statusRecord({{11, '1'}, {17, '1'}, {36, '1'}}), "", "S2 input sw off",
         "Output switch off"},
        // any digit but 0 sets a flag; other characters read as 0
        {statusRecord({{23, '2'}, {24, 'x'}, {5, '9'}}), "S1 Black out", "", "Overload"},
        // flags without a fault text leave the fields alone
        {statusRecord({{4, '1'}, {20, '1'}, {22, '1'}, {31, '1'}}), "", "", ""},
    };
    for (const Case& c : cases) {
        StatusRig rig;
        rig.feed(c.record);
        for (auto [field, text] : {std::pair{"Label2", c.label2}, std::pair{"Label27", c.label27},
                                   std::pair{"Label28", c.label28}}) {
            EXPECT_EQ(rig.form1(field).caption(), text) << c.record;
            EXPECT_EQ(rig.form1(field).backColour(), *text ? kRed : kButtonFace) << c.record;
        }
    }
}

TEST(StatusDecoding, TitleNamesTheLoginWithServiceWinningAndTheLinkKind) {
    struct Case {
        char service, user;
        Int16 remote;
        const char* title;
    };
    const Case cases[] = {
        {'0', '0', 0, "ZID evevori/Logout(Local)"},
        {'1', '1', 0, "ZID evevori/Service Login(Local)"},
        {'0', '2', 1, "ZID evevori/User Login(Remote)"},
        {'x', '0', 1, "ZID evevori/Logout(Remote)"},
    };
    for (const Case& c : cases) {
        StatusRig rig;
        rig.core().s.RemoteMode = c.remote;
        rig.feed(statusRecord({{40, c.service}, {42, c.user}}));
        EXPECT_EQ(rig.form1("Form1").caption(), c.title);
        EXPECT_EQ(rig.core().status.loggedIn(), c.service == '1' || c.user != '0');
    }
}

TEST(StatusDecoding, SourcesBadSoundAndTintFollowTheirDigits) {
    StatusRig rig;
    rig.feed(statusRecord({{20, '1'}, {38, '1'}, {41, '1'}}));
    EXPECT_EQ(rig.form1("Frame1").caption(), "Source1 (Bad)");
    EXPECT_EQ(rig.form1("Frame2").caption(), "Source2 (Good)");
    EXPECT_EQ(rig.form1("Label36").caption(), "Sound off");
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightYellow);
    EXPECT_EQ(rig.form1("Label1").backColour(), kLightGreen);

    // an unknown source indicator keeps the tint
    rig.feed(statusRecord({{38, '7'}}));
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightYellow);

    // a record that ends after its last separator reads the digits as 0
    rig.feed(statusRecord().substr(0, 37) + "\r");
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightGreen);
    EXPECT_EQ(rig.form1("Label36").caption(), "Sound on");
}

TEST(StatusDecoding, RejectedRecordReportsDataErrorAndChangesNothingElse) {
    const std::string good = statusRecord();
    const std::string rejected[] = {
        " " + good,                                  // shifted
        good.substr(0, 36),                          // short
        good.substr(0, 27) + "0" + good.substr(28),  // separator 28
        good.substr(0, 36) + "0" + good.substr(37),  // separator 37
        "$" + good.substr(1),                        // start character
        "Can not open com\r",
    };
    for (const std::string& record : rejected) {
        StatusRig rig("COMPORT:1\r\nEMAILENABLE:1\r\n");
        rig.monitor.click(Form::Form1, "mnalarm");
        rig.feed(statusRecord({{8, '1'}, {38, '1'}, {40, '1'}}));
        const DecodedStatus before = rig.core().status;
        const int form1Writes = rig.writesTo(Form::Form1);
        const int form4Writes = rig.writesTo(Form::Form4);

        rig.feed(record);
        EXPECT_EQ(rig.form1("Label40").caption(), "Data error SAS") << record;
        EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 1) << record;  // Label40 alone
        EXPECT_EQ(rig.writesTo(Form::Form4), form4Writes) << record;
        EXPECT_EQ(rig.core().status.StatusFlags, before.StatusFlags) << record;
        EXPECT_EQ(rig.core().status.PreviousStatus, before.PreviousStatus) << record;
        EXPECT_EQ(rig.core().status.ServiceLoginActive, 1) << record;
        EXPECT_EQ(rig.platform.startedPrograms.size(), 1u) << record;
    }
}

TEST(StatusDecoding, SteadyStatusRewritesNothing) {
    StatusRig rig;
    rig.monitor.click(Form::Form1, "mnalarm");
    const std::string fault = statusRecord({{5, '1'}, {14, '1'}, {21, '1'}, {36, '1'}, {38, '1'}});
    rig.feed(fault);
    const int form1Writes = rig.writesTo(Form::Form1);
    const int form4Writes = rig.writesTo(Form::Form4);
    for (int i = 0; i < 3; ++i)
        rig.feed(fault);
    EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes);
    EXPECT_EQ(rig.writesTo(Form::Form4), form4Writes);
}

}  // namespace
}  // namespace treld::testing
