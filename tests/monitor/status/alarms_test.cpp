// Alarm events (PC-log line and e-mail) and the lamps of the Alarms window.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

constexpr const char* kMailConfig = "COMPORT:1\r\nEMAILENABLE:1\r\nSNAME:Plant A & \"B\"\r\n";

// What one status adds to the PC-log file, and the arguments of the mail
// programs it starts.
std::pair<std::string, Texts> showAndCollect(VirtualRig& rig, const std::string& record) {
    const std::size_t logged = rig.readFile("SERLOGS/2026-12.TXT").size();
    const std::size_t started = rig.platform.startedPrograms.size();
    rig.showStatus(record);
    std::pair<std::string, Texts> added{rig.readFile("SERLOGS/2026-12.TXT").substr(logged), {}};
    for (std::size_t i = started; i < rig.platform.startedPrograms.size(); ++i)
        added.second.push_back(rig.platform.startedPrograms[i].second);
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
    VirtualRig rig(kMailConfig);
    rig.start();
    for (const auto& [record, logText] : steps) {
        const auto [log, mails] = showAndCollect(rig, record);
        EXPECT_EQ(log.substr(std::min<std::size_t>(log.size(), 26)),
                  logText ? *logText + "\r\n" : "")
            << record;
        EXPECT_TRUE(log.empty() || log.starts_with(" 100 05-12-2026--14:05:0")) << log;
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
        std::string config;
        bool remote;
        Texts mails;
    } const cases[] = {
        {kMailConfig, false, {head + "Station : Plant A & \"B\"<br>" + tail}},
        {"COMPORT:1\r\nEMAILENABLE:-1\r\n", false, {head + tail}},
        {kMailConfig, true, {}},
        {"COMPORT:1\r\nEMAILENABLE:0\r\nSNAME:X\r\n", false, {}},
    };
    for (const Case& c : cases) {
        VirtualRig rig(c.config + "REMOTEIP1:10.0.0.7\r\n");
        rig.start();
        rig.select("SSTab1", 3);
        rig.select("List3", c.remote ? 1 : 0);
        rig.click("Command5");
        rig.advance(3000);  // the virtual clock: 14:05:03 on 5 December 2026
        const auto [log, mails] = showAndCollect(rig, statusRecord({{9, '1'}}));
        EXPECT_EQ(log, " 100 05-12-2026--14:05:03 -S1 SCR failure\r\n") << c.config;
        EXPECT_EQ(mails, c.mails) << c.config;
    }
}

TEST(AlarmEvents, UnwritableLogOrMissingMailProgramStopsNeitherTheMailNorTheDecoding) {
    VirtualRig rig(kMailConfig);
    rig.writeFile("SERLOGS", "a file where the folder should be");
    rig.start();
    EXPECT_EQ(showAndCollect(rig, statusRecord({{21, '1'}, {5, '1'}})).second.size(), 1u);
    EXPECT_EQ(rig.caption("Frame2"), "Source2 (Bad)");

    rig.platform.programsStart = false;
    rig.showStatus(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.caption("Label2"), "");
    rig.platform.programsStart = true;
    rig.showStatus(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.platform.startedPrograms.size(), 1u) << "a status is reported once";
}

TEST(AlarmLamps, FollowTheStatusOnlyWhileTheWindowIsShownAndStartGreenEachTimeItOpens) {
    VirtualRig rig;
    rig.start();
    const std::string fault = statusRecord({{9, '1'}, {23, '2'}, {31, '1'}});
    auto redLamps = [&] {
        std::set<std::string> red;
        for (const auto& [name, lamp] : rig.monitor.ui().elements(Form::Form4)) {
            if (name.starts_with("Image2_") && !lamp.visible())
                red.insert(name.substr(7));
        }
        return red;
    };
    rig.showStatus(fault);
    EXPECT_EQ(rig.writesTo(Form::Form4), 0);

    rig.click("mnalarm");
    EXPECT_TRUE(redLamps().empty());
    rig.showStatus(fault);
    EXPECT_EQ(redLamps(), (std::set<std::string>{"2", "19", "26"}));

    rig.monitor.closeWindow(Form::Form4);
    const int writesWhileClosed = rig.writesTo(Form::Form4);
    rig.showStatus(statusRecord({{36, '1'}}));
    EXPECT_EQ(rig.writesTo(Form::Form4), writesWhileClosed);
    rig.click("mnalarm");
    EXPECT_TRUE(redLamps().empty());
}

}  // namespace
}  // namespace treld::testing
