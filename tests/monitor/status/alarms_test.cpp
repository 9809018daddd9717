// Alarm events (PC-log line and e-mail) and the lamps of the Alarms window.
#include <gtest/gtest.h>

#include <fstream>

#include "status_rig.h"

namespace treld::testing {
namespace {

constexpr const char* kMailConfig = "COMPORT:1\r\nEMAILENABLE:1\r\nSNAME:Plant A & \"B\"\r\n";

// The event that a record raised: the log text handed to the PC-log writer,
// or nothing; and the mail programs started by it.
struct Event {
    std::optional<std::string> logText;
    std::vector<StartedProgram> mails;
};

Event feedAndCollect(StatusRig& rig, const std::string& record) {
    auto& s = rig.core().s;
    s.PcLogEventCode = 0;
    const std::size_t mailsBefore = rig.platform.startedPrograms.size();
    rig.feed(record);
    Event event;
    if (s.PcLogEventCode == 100)
        event.logText = s.PcLogEventText;
    event.mails.assign(rig.platform.startedPrograms.begin() + mailsBefore,
                       rig.platform.startedPrograms.end());
    return event;
}

TEST(AlarmEvents, ChangesThatLeaveAOneAreLoggedAndMailedWithEveryFlagAtOne) {
    struct Step {
        const char* what;
        std::string record;
        std::optional<std::string> logText;
    };
    const Step steps[] = {
        {"first alarm", statusRecord({{23, '1'}}), "-Overload"},
        {"same again", statusRecord({{23, '1'}}), std::nullopt},
        {"change, another 1 remains", statusRecord({{36, '1'}}), "-Output SW.off"},
        {"change outside the 1s", statusRecord({{36, '1'}, {24, '2'}}), "-Output SW.off"},
        {"all clear", statusRecord(), std::nullopt},
        {"the same alarm returns", statusRecord({{36, '1'}}), "-Output SW.off"},
        {"a flag without words", statusRecord({{31, '1'}}), "-"},
        {"a 2 alone", statusRecord({{23, '2'}}), std::nullopt},
        {"several at once", statusRecord({{4, '1'}, {5, '1'}, {20, '1'}, {23, '1'}, {30, '1'}}),
         "--S1 Black out-S1 BAD-Overload-PSP2 failure"},
        {"digits after the flags do not count",
         statusRecord({{4, '1'}, {5, '1'}, {20, '1'}, {23, '1'}, {30, '1'}, {41, '1'}}),
         std::nullopt},
    };
    StatusRig rig(kMailConfig);
    for (const Step& step : steps) {
        const Event event = feedAndCollect(rig, step.record);
        EXPECT_EQ(event.logText, step.logText) << step.what;
        ASSERT_EQ(event.mails.size(), step.logText ? 1u : 0u) << step.what;
        if (step.logText) {
            EXPECT_TRUE(event.mails[0].argument.ends_with("<br>" + *step.logText)) << step.what;
        }
    }
}

TEST(AlarmEvents, MailProgramGetsTheWholeMessageAsItsOneArgument) {
    StatusRig rig(kMailConfig);
    rig.advance(3000);  // virtual clock: 14:05:03 on 5 December 2026
    const Event event = feedAndCollect(rig, statusRecord({{23, '1'}}));
    ASSERT_EQ(event.mails.size(), 1u);
    EXPECT_EQ(event.mails[0].path, (rig.programDir.path() / "drovelin").string());
    EXPECT_EQ(event.mails[0].argument,
              "1&&send++This message is automatically produced by STS management software<br>"
              "Station : Plant A & \"B\"<br>"
              "Your STS unit produced the following alarm/alarms:<br>"
              "Alarm Date: 05.12.2026<br>"
              "Alarm time: 14:05:03<br>"
              "-Overload");
}

TEST(AlarmEvents, LogLineAlwaysMailOnlyOnALocalLinkWithMailEnabled) {
    struct Case {
        const char* config;
        Int16 remote;
        bool mailed;
    };
    const Case cases[] = {
        {kMailConfig, 1, false},
        {"COMPORT:1\r\nEMAILENABLE:0\r\nSNAME:X\r\n", 0, false},
        {"COMPORT:1\r\nEMAILENABLE:-1\r\n", 0, true},
    };
    for (const Case& c : cases) {
        StatusRig rig(c.config);
        rig.core().s.RemoteMode = c.remote;
        const Event event = feedAndCollect(rig, statusRecord({{9, '1'}}));
        EXPECT_EQ(event.logText, "-S1 SCR failure") << c.config;
        ASSERT_EQ(event.mails.size(), c.mailed ? 1u : 0u) << c.config;
        if (c.mailed) {
            EXPECT_EQ(event.mails[0].argument.find("Station : "), std::string::npos);
        }
    }
}

TEST(AlarmEvents, UnwritableLogOrMissingMailProgramStopsNeitherTheMailNorTheDecoding) {
    StatusRig rig(kMailConfig);
    // a file where the event folder should be: no log line can be written
    std::ofstream(rig.programDir.path() / "SERLOGS") << "in the way";
    const Event event = feedAndCollect(rig, statusRecord({{21, '1'}, {5, '1'}}));
    EXPECT_EQ(event.mails.size(), 1u);
    EXPECT_EQ(rig.core().status.PreviousStatus, statusRecord({{21, '1'}, {5, '1'}}).substr(0, 36));
    EXPECT_EQ(rig.form1("Frame2").caption(), "Source2 (Bad)");

    rig.platform.programsStart = false;
    rig.feed(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.form1("Label2").caption(), "");
    EXPECT_EQ(rig.form1("Form1").caption(), "ZID evevori/Logout(Local)");
}

TEST(AlarmLamps, FollowTheStatusOnlyWhileTheWindowIsShownAndStartGreenEachTimeItOpens) {
    StatusRig rig;
    const std::string fault = statusRecord({{9, '1'}, {23, '2'}, {31, '1'}});
    auto redLamps = [&] {
        std::vector<int> red;
        for (int lamp = 0; lamp < 32; ++lamp) {
            const std::string name = "Image2_" + std::to_string(lamp);
            if (rig.monitor.ui().has(Form::Form4, name) && !rig.form4(name).visible())
                red.push_back(lamp);
        }
        return red;
    };

    rig.form1("Label40").setCaption("");
    rig.feed(fault);
    EXPECT_EQ(rig.writesTo(Form::Form4), 0);
    EXPECT_EQ(rig.form1("Label40").caption(), "");

    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_TRUE(rig.form4("Form4").visible());
    EXPECT_EQ(redLamps(), std::vector<int>{});
    rig.feed(fault);
    EXPECT_EQ(redLamps(), (std::vector<int>{2, 19, 26}));
    EXPECT_EQ(rig.form1("Label40").caption(), "Data OK");

    rig.monitor.closeWindow(Form::Form4);
    EXPECT_FALSE(rig.form4("Form4").visible());
    const int writesWhileClosed = rig.writesTo(Form::Form4);
    rig.feed(statusRecord({{36, '1'}}));
    EXPECT_EQ(rig.writesTo(Form::Form4), writesWhileClosed);
    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_EQ(redLamps(), std::vector<int>{});
}

}  // namespace
}  // namespace treld::testing
