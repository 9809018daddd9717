// Alarm events (PC-log line and e-mail) and the lamps of the Alarms window.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "status_rig.h"

namespace treld::testing {
namespace {

constexpr const char* kMailConfig = "COMPORT:1\r\nEMAILENABLE:1\r\nSNAME:Plant A & \"B\"\r\n";

// The PC-log lines and the arguments of the mail programs that a record caused.
struct Event {
    std::vector<std::string> logLines;
    std::vector<std::string> mails;
};

std::vector<std::string> pcLogLines(StatusRig& rig) {
    std::ifstream in(rig.programDir.path() / "SERLOGS" / "2026-12.TXT", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line, '\n');)
        lines.push_back(line);
    return lines;
}

Event feedAndCollect(StatusRig& rig, const std::string& record) {
    const std::size_t linesBefore = pcLogLines(rig).size();
    const std::size_t mailsBefore = rig.platform.startedPrograms.size();
    rig.feed(record);
    Event event;
    const std::vector<std::string> lines = pcLogLines(rig);
    event.logLines.assign(lines.begin() + std::min(linesBefore, lines.size()), lines.end());
    for (std::size_t i = mailsBefore; i < rig.platform.startedPrograms.size(); ++i) {
        EXPECT_EQ(rig.platform.startedPrograms[i].path, rig.programDir.path() / "drovelin");
        event.mails.push_back(rig.platform.startedPrograms[i].argument);
    }
    return event;
}

TEST(AlarmEvents, ChangesThatLeaveAOneAreLoggedAndMailedWithEveryFlagAtOne) {
    const std::pair<std::string, std::optional<std::string>> steps[] = {
        {statusRecord({{23, '1'}}), "-Overload"},                   // first alarm
        {statusRecord({{23, '1'}}), std::nullopt},                  // same again
        {statusRecord({{36, '1'}}), "-Output SW.off"},              // another 1 remains
        {statusRecord({{36, '1'}, {24, '2'}}), "-Output SW.off"},   // change beside the 1
        {statusRecord(), std::nullopt},                             // all clear
        {statusRecord({{36, '1'}}), "-Output SW.off"},              // the alarm returns
        {statusRecord({{31, '1'}}), "-"},                           // a flag without words
        {statusRecord({{23, '2'}}), std::nullopt},                  // a 2 alone
        {statusRecord({{4, '1'}, {5, '1'}, {20, '1'}, {30, '1'}}),  // several at once
         "--S1 Black out-S1 BAD-PSP2 failure"},
        {statusRecord({{4, '1'}, {5, '1'}, {20, '1'}, {30, '1'}, {41, '1'}}), std::nullopt},
    };
    StatusRig rig(kMailConfig);
    for (const auto& [record, logText] : steps) {
        const Event event = feedAndCollect(rig, record);
        const auto expected = logText ? std::vector{" 100 05-12-2026--14:05:00 " + *logText + "\r"}
                                      : std::vector<std::string>{};
        EXPECT_EQ(event.logLines, expected) << record;
        ASSERT_EQ(event.mails.size(), logText ? 1u : 0u) << record;
        if (logText) {
            EXPECT_TRUE(event.mails[0].ends_with("<br>" + *logText)) << record;
        }
    }
}

TEST(AlarmEvents, MailGoesOutOnlyOnALocalLinkWithMailEnabledAsOneArgument) {
    const std::string head =
        "1&&send++This message is automatically produced by STS management software<br>";
    const std::string tail =
        "Your STS unit produced the following alarm/alarms:<br>"
        "Alarm Date: 05.12.2026<br>Alarm time: 14:05:03<br>-S1 SCR failure";
    struct Case {
        const char* config;
        Int16 remote;
        std::vector<std::string> mails;
    };
    const Case cases[] = {
        {kMailConfig, 0, {head + "Station : Plant A & \"B\"<br>" + tail}},
        {"COMPORT:1\r\nEMAILENABLE:-1\r\n", 0, {head + tail}},
        {kMailConfig, 1, {}},
        {"COMPORT:1\r\nEMAILENABLE:0\r\nSNAME:X\r\n", 0, {}},
    };
    for (const Case& c : cases) {
        StatusRig rig(c.config);
        rig.core().s.RemoteMode = c.remote;
        rig.advance(3000);  // the virtual clock: 14:05:03 on 5 December 2026
        const Event event = feedAndCollect(rig, statusRecord({{9, '1'}}));
        EXPECT_EQ(event.logLines,
                  std::vector<std::string>{" 100 05-12-2026--14:05:03 -S1 SCR failure\r"})
            << c.config;
        EXPECT_EQ(event.mails, c.mails) << c.config;
    }
}

TEST(AlarmEvents, UnwritableLogOrMissingMailProgramStopsNeitherTheMailNorTheDecoding) {
    StatusRig rig(kMailConfig);
    std::filesystem::remove_all(rig.programDir.path() / "SERLOGS");
    std::ofstream(rig.programDir.path() / "SERLOGS") << "a file where the folder should be";
    const std::string fault = statusRecord({{21, '1'}, {5, '1'}});
    EXPECT_EQ(feedAndCollect(rig, fault).mails.size(), 1u);
    EXPECT_TRUE(rig.form1("Label40").caption().starts_with("PC log not written"));
    EXPECT_EQ(rig.core().status.PreviousStatus, fault.substr(0, 36));
    EXPECT_EQ(rig.form1("Frame2").caption(), "Source2 (Bad)");

    rig.platform.programsStart = false;
    rig.feed(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.form1("Label2").caption(), "");
    EXPECT_EQ(rig.core().status.PreviousStatus, statusRecord({{21, '1'}}).substr(0, 36));
}

TEST(AlarmLamps, FollowTheStatusOnlyWhileTheWindowIsShownAndStartGreenEachTimeItOpens) {
    StatusRig rig;
    const std::string fault = statusRecord({{9, '1'}, {23, '2'}, {31, '1'}});
    auto redLamps = [&] {
        std::set<std::string> red;
        for (const auto& [name, lamp] : rig.monitor.ui().elements(Form::Form4)) {
            if (name.starts_with("Image2_") && !lamp.visible())
                red.insert(name.substr(7));
        }
        return red;
    };
    rig.feed(fault);
    EXPECT_EQ(rig.writesTo(Form::Form4), 0);
    EXPECT_NE(rig.form1("Label40").caption(), "Data OK");

    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_TRUE(rig.form4("Form4").visible());
    EXPECT_TRUE(redLamps().empty());
    rig.feed(fault);
    EXPECT_EQ(redLamps(), (std::set<std::string>{"2", "19", "26"}));
    EXPECT_EQ(rig.form1("Label40").caption(), "Data OK");

    rig.monitor.closeWindow(Form::Form4);
    EXPECT_FALSE(rig.form4("Form4").visible());
    const int writesWhileClosed = rig.writesTo(Form::Form4);
    rig.feed(statusRecord({{36, '1'}}));
    EXPECT_EQ(rig.writesTo(Form::Form4), writesWhileClosed);
    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_TRUE(redLamps().empty());
}

}  // namespace
}  // namespace treld::testing
