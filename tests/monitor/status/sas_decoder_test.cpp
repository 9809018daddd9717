// The status record as the operator sees it: fault texts, titles, tint,
// sound state, and what a rejected record leaves alone.
#include <gtest/gtest.h>

#include "status_rig.h"

namespace treld::testing {
namespace {

TEST(StatusDecoding, EachFaultFieldShowsItsLastSetFlagOnRed) {
    const std::pair<std::string, std::array<const char*, 3>> cases[] = {
        {statusRecord({{2, '1'}, {9, '1'}}), {"S1 SCR failure", "", ""}},
        {statusRecord({{11, '1'}, {17, '1'}, {36, '1'}}),
         {"", "S2 input sw off", "Output switch off"}},
        // any digit but 0 sets a flag; other characters read as 0
        {statusRecord({{23, '2'}, {24, 'x'}, {5, '9'}}), {"S1 Black out", "", "Overload"}},
        // flags without a fault text leave the fields alone
        {statusRecord({{4, '1'}, {20, '1'}, {22, '1'}, {31, '1'}}), {"", "", ""}},
    };
    const char* const fields[] = {"Label2", "Label27", "Label28"};
    for (const auto& [record, texts] : cases) {
        StatusRig rig;
        rig.feed(record);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rig.form1(fields[i]).caption(), texts[i]) << record;
            EXPECT_EQ(rig.form1(fields[i]).backColour(), *texts[i] ? kRed : kButtonFace);
        }
    }
}

TEST(StatusDecoding, TitleSourcesSoundAndTintFollowTheirDigits) {
    StatusRig rig;
    rig.feed(statusRecord({{40, '1'}, {42, '1'}, {20, '1'}, {38, '1'}, {41, '1'}}));
    EXPECT_EQ(rig.form1("Form1").caption(), "ZID evevori/Service Login(Local)");  // service wins
    EXPECT_EQ(rig.form1("Frame1").caption(), "Source1 (Bad)");
    EXPECT_EQ(rig.form1("Label36").caption(), "Sound off");
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightYellow);
    EXPECT_EQ(rig.form1("Label1").backColour(), kLightGreen);

    rig.core().s.RemoteMode = 1;
    rig.feed(statusRecord({{42, '2'}, {38, '7'}}));  // an unknown source keeps the tint
    EXPECT_EQ(rig.form1("Form1").caption(), "ZID evevori/User Login(Remote)");
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightYellow);

    // a record that ends after its last separator reads the digits as 0
    rig.feed(statusRecord().substr(0, 37) + "\r");
    EXPECT_EQ(rig.form1("Form1").caption(), "ZID evevori/Logout(Remote)");
    EXPECT_EQ(rig.form1("Label12").backColour(), kLightGreen);
    EXPECT_EQ(rig.form1("Label36").caption(), "Sound on");
}

TEST(StatusDecoding, SteadyStatusRewritesNothingAndARejectedOneOnlyReportsDataError) {
    const std::string good = statusRecord();
    const std::string rejected[] = {
        " " + good,                                  // shifted
        good.substr(0, 36),                          // short
        good.substr(0, 27) + "0" + good.substr(28),  // separator 28
        good.substr(0, 36) + "0" + good.substr(37),  // separator 37
        "$" + good.substr(1),
        "Can not open com\r",
    };
    for (const std::string& record : rejected) {
        StatusRig rig("COMPORT:1\r\nEMAILENABLE:1\r\n");
        rig.monitor.click(Form::Form1, "mnalarm");
        const std::string fault = statusRecord({{8, '1'}, {14, '1'}, {38, '1'}, {40, '1'}});
        rig.feed(fault);
        const DecodedStatus before = rig.core().status;
        const int form1Writes = rig.writesTo(Form::Form1);
        const int form4Writes = rig.writesTo(Form::Form4);
        rig.feed(fault);
        EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes);

        rig.feed(record);
        EXPECT_EQ(rig.form1("Label40").caption(), "Data error SAS") << record;
        EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 1) << record;  // Label40 alone
        EXPECT_EQ(rig.writesTo(Form::Form4), form4Writes) << record;
        EXPECT_TRUE(rig.core().status == before) << record;
        EXPECT_EQ(rig.platform.startedPrograms.size(), 1u) << record;
    }
}

}  // namespace
}  // namespace treld::testing
