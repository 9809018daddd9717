// Alarm events (PC-log line and e-mail) and the lamps of the Alarms window.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "status_rig.h"

namespace treld::testing {
namespace {

constexpr const char* kMailConfig = "COMPORT:1\r\nEMAILENABLE:1\r\nSNAME:Plant A & \"B\"\r\n";

// What one record adds to the PC-log file, and the arguments of the mail
// programs it starts.
std::pair<std::string, std::vector<std::string>> feedAndCollect(StatusRig& rig,
                                                                const std::string& record) {
    const auto file = rig.programDir.path() / "SERLOGS" / "2026-12.TXT";
    const std::size_t logged = fileText(file).size();
    const std::size_t started = rig.platform.startedPrograms.size();
    rig.feed(record);
    std::pair<std::string, std::vector<std::string>> added{fileText(file).substr(logged), {}};
    for (std::size_t i = started; i < rig.platform.startedPrograms.size(); ++i)
        added.second.push_back(rig.platform.startedPrograms[i].argument);
    return added;
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
        const auto [log, mails] = feedAndCollect(rig, record);
        EXPECT_EQ(log, logText ? " 100 05-12-2026--14:05:00 " + *logText + "\r\n" : "") << record;
        ASSERT_EQ(mails.size(), logText ? 1u : 0u) << record;
        if (logText) {
            EXPECT_TRUE(mails[0].ends_with("<br>" + *logText)) << record;
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
        const auto [log, mails] = feedAndCollect(rig, statusRecord({{9, '1'}}));
        EXPECT_EQ(log, " 100 05-12-2026--14:05:03 -S1 SCR failure\r\n") << c.config;
        EXPECT_EQ(mails, c.mails) << c.config;
    }
}

TEST(AlarmEvents, UnwritableLogOrMissingMailProgramStopsNeitherTheMailNorTheDecoding) {
    StatusRig rig(kMailConfig);
    std::filesystem::remove_all(rig.programDir.path() / "SERLOGS");
    std::ofstream(rig.programDir.path() / "SERLOGS") << "a file where the folder should be";
    const std::string fault = statusRecord({{21, '1'}, {5, '1'}});
    EXPECT_EQ(feedAndCollect(rig, fault).second.size(), 1u);
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

    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_TRUE(redLamps().empty());
    rig.feed(fault);
    EXPECT_EQ(redLamps(), (std::set<std::string>{"2", "19", "26"}));

    rig.monitor.closeWindow(Form::Form4);
    const int writesWhileClosed = rig.writesTo(Form::Form4);
    rig.feed(statusRecord({{36, '1'}}));
    EXPECT_EQ(rig.writesTo(Form::Form4), writesWhileClosed);
    rig.monitor.click(Form::Form1, "mnalarm");
    EXPECT_TRUE(redLamps().empty());
}

}  // namespace
}  // namespace treld::testing
