// The status record as the operator sees it: fault texts, titles, tint, the
// switch diagram, alarm lamps, and the alarm events it logs and mails.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "status/alarms.h"
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
        {statusRecord({{2, '1'}, {9, '1'}}), "|S1 SCR failure||"},
        {statusRecord({{11, '1'}, {17, '1'}, {36, '1'}}), "||S2 input sw off|Output switch off"},
        // any digit but 0 sets a flag; other characters read as 0
        {statusRecord({{23, '2'}, {24, 'x'}, {5, '9'}}), "|S1 Black out||Overload"},
        // flags without a fault text leave the fields alone
        {statusRecord({{4, '1'}, {20, '1'}, {22, '1'}, {31, '1'}}), "|||"},
    };
    StatusRig rig("COMPORT:1\r\nREMOTEIP1:10.0.0.7\r\n");
    for (const auto& [record, texts] : faults) {
        rig.showStatus(record);
        std::string shown;
        for (const char* field : {"Label2", "Label27", "Label28"}) {
            shown += "|" + rig.caption(field);
            EXPECT_EQ(rig.element(field).backColour(),
                      rig.caption(field).empty() ? kButtonFace : kRed);
        }
        EXPECT_EQ(shown, texts);
    }
    rig.showStatus(statusRecord({{40, '1'}, {42, '1'}, {20, '1'}, {38, '1'}, {41, '1'}}));
    EXPECT_EQ(rig.caption(kMainWindow) + "|" + rig.caption(kSource1Panel) + "|" +
                  rig.caption(kSource2Panel) + "|" +
                  rig.caption(kSoundState),  // the service login wins over the user's
              "ZID evevori/Service Login(Local)|Source1 (Bad)|Source2 (Good)|Sound off");
    EXPECT_TRUE(rig.element("Label12").backColour() == kLightYellow &&
                rig.element("Label1").backColour() == kLightGreen);
    rig.select("List3", 1);
    rig.click(kConnect);
    rig.showStatus(statusRecord({{42, '2'}, {38, '7'}}));  // an unknown source keeps the tint
    EXPECT_EQ(rig.caption(kMainWindow), "ZID evevori/User Login(Remote)");
    EXPECT_EQ(rig.element("Label12").backColour(), kLightYellow);
    rig.showStatus(statusRecord().substr(0, 37) + "\r");  // missing digits read 0
    EXPECT_EQ(rig.caption(kMainWindow) + "|" + rig.caption(kSoundState),
              "ZID evevori/Logout, login lapsed at 14:05(Remote)|Sound on");
    EXPECT_EQ(rig.element("Label12").backColour(), kLightGreen);
}

TEST(StatusDecoding, SteadyStatusRewritesNothingARejectedOneReportsDataErrorLampsFollowTheWindow) {
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
    auto redLamps = [&] {  // of the Alarms window
        std::string red;
        for (const auto& [name, lamp] : rig.monitor.ui().elements(Form::Form4))
            red += name.starts_with("Image2_") && !lamp.visible() ? name.substr(6) : "";
        return red;
    };
    const std::string fault = statusRecord({{9, '1'}, {23, '2'}, {31, '1'}});
    rig.showStatus(fault);
    EXPECT_EQ(rig.writesTo(Form::Form4), 0) << "the lamps follow only while the window is shown";
    rig.click(kAlarmsMenu);
    EXPECT_EQ(redLamps(), "") << "and start green";
    rig.showStatus(fault);
    EXPECT_EQ(redLamps(), "_19_2_26");
    const int steady = rig.writesTo(Form::Form1);
    rig.showStatus(fault);
    EXPECT_EQ(rig.writesTo(Form::Form1), steady);
    for (const std::string& record : rejected) {
        for (const Texts& pieces : everyArrival(record)) {
            SCOPED_TRACE(::testing::PrintToString(pieces));
            const int form1Writes = rig.writesTo(Form::Form1),
                      form4Writes = rig.writesTo(Form::Form4);
            rig.arrivals["SAS"] = pieces;  // one rejected reply: two would lose the link
            rig.runUntilSent(rig.platform.serialWrites.size() + 1);
            rig.arrivals.clear();
            rig.runUntilSent(rig.platform.serialWrites.size() + 1);
            EXPECT_EQ(rig.caption(kStatusLine), "Data error SAS");
            EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 1);  // Label40 alone
            EXPECT_EQ(rig.writesTo(Form::Form4), form4Writes);
            rig.showStatus(fault);  // as before the rejected one: nothing new to show
            EXPECT_EQ(rig.writesTo(Form::Form1), form1Writes + 2);  // "Data OK" again
        }
    }
    rig.monitor.closeWindow(Form::Form4);
    const int closedWrites = rig.writesTo(Form::Form4);
    rig.showStatus(statusRecord({{36, '1'}}));
    EXPECT_EQ(rig.writesTo(Form::Form4), closedWrites);
    rig.click(kAlarmsMenu);
    EXPECT_EQ(redLamps(), "") << "green again each time it opens";
    EXPECT_EQ(rig.platform.startedPrograms.size(), 2u) << "a mail for each of the two alarms";
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
                EXPECT_NE(rig.element(name).visible(), isClosed) << name << shown;
        }
    }
    // The load is dead only with the output switch open and no bypass closed.
    const std::tuple<char, char, char, bool> loads[] = {
        {'1', '0', '0', true},  {'1', '1', '0', false}, {'1', '0', '1', false},
        {'0', '0', '0', false}, {'2', '0', '0', false},
    };
    for (auto [output, bypass1, bypass2, dead] : loads) {
        rig.showStatus(statusRecord({{36, output}, {34, bypass1}, {35, bypass2}}));
        EXPECT_TRUE(rig.element(kLoadDead).visible() == dead &&
                    rig.element(kLoadLive).visible() != dead)
            << output << bypass1 << bypass2;
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
        EXPECT_TRUE(rig.element(kUpperPath).visible() == line1 &&
                    rig.element(kLowerPath).visible() != line1)
            << source << path;
    }
}

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

TEST(AlarmEvents, ChangesThatLeaveAOneAreLoggedAndMailedWithEveryFlagAtOneWhateverFails) {
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
        EXPECT_EQ(mails.size() == 1 && mails[0].ends_with("<br>" + logText.value_or("?")),
                  logText.has_value())
            << record;
    }
    // An unwritable log or a mail program that cannot start stops nothing else.
    std::filesystem::remove_all(rig.programDir / "SERLOGS");
    rig.writeFile("SERLOGS", "a file where the folder should be");
    EXPECT_EQ(showAndCollect(rig, statusRecord({{21, '1'}, {5, '1'}})).second.size(), 1u);
    rig.platform.programsStart = false;
    rig.showStatus(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.caption(kSource2Panel) + rig.caption(kSource1Fault), "Source2 (Bad)");
    rig.platform.programsStart = true;
    rig.showStatus(statusRecord({{21, '1'}}));
    EXPECT_EQ(rig.platform.startedPrograms.size(), 7u) << "a status is reported once";
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
        {"COMPORT:1\r\nEMAILENABLE:-1\r\n", false, {head + tail}},  // no station name
        {kMailConfig, true, {}},
        {"COMPORT:1\r\nEMAILENABLE:0\r\nSNAME:X\r\n", false, {}},
    };
    for (const Case& c : cases) {
        VirtualRig rig(c.config + "REMOTEIP1:10.0.0.7\r\n");
        rig.start();
        rig.select("SSTab1", 3);
        rig.select("List3", c.remote ? 1 : 0);
        rig.click(kConnect);
        rig.advance(3000);  // the virtual clock: 14:05:03 on 5 December 2026
        const auto [log, mails] = showAndCollect(rig, statusRecord({{9, '1'}}));
        EXPECT_EQ(log, " 100 05-12-2026--14:05:03 -S1 SCR failure\r\n") << c.config;
        EXPECT_EQ(mails, c.mails) << c.config;
    }
}

// A flapping alarm while the mail program runs: the alarms wait and go out in one message when
// it ends, the oldest giving way beyond a bound. A failed run keeps its alarms for the next
// message and says so; at the stop what waits or was kept is not lost.
TEST(AlarmEvents, OneMailProgramAtATimeAFailedRunKeepsItsAlarmsForTheNextMessage) {
    StatusRig rig(kMailConfig);
    rig.mailRunMs = -1;
    for (int flap = 0; flap < 30; ++flap)
        rig.showStatus(statusRecord({{flap % 2 ? 23 : 36, '1'}}));
    rig.monitor.onMailProgramEnded(1);
    EXPECT_EQ(rig.caption(kStatusLine), statusText(Said::AlarmMailFailed));
    rig.monitor.onMailProgramEnded(1);  // kept, and not tried again on its own
    rig.showStatus(statusRecord({{9, '1'}}));
    rig.monitor.onMailProgramEnded(kMailUnusableConfig);
    rig.monitor.stop();
    const auto& started = rig.platform.startedPrograms;
    ASSERT_EQ(started.size(), 4u);
    const std::regex headOrPart("automatically produced|Alarm Date: .*?<br>-");
    const std::string& merged = started[2].second;
    EXPECT_EQ(std::distance(std::sregex_iterator(merged.begin(), merged.end(), headOrPart), {}),
              1 + MailOutbox::kMostParts);
    EXPECT_TRUE(started[1].second.ends_with(
        "-Overload<br>10 earlier alarm changes left out: see the PC event file"));
    EXPECT_TRUE(
        started[2].second.ends_with("-S1 SCR failure<br>11 earlier alarm changes left out: "
                                    "see the PC event file"));
    EXPECT_EQ(started[3].second, started[2].second);
    EXPECT_EQ(rig.monitor.core().counters.mailProgramsFailed, 3u);
}

}  // namespace
}  // namespace treld::testing
