// The records: PC event files, the device's event log, and sts.cfg as the
// Settings dialog shows and writes it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "records/sts_log.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(PcLog, LinesGoToTheFileOfTheirMonthAcrossMonthAndYearEndsKeptInOrderWhileUnwritable) {
    VirtualRig rig;
    rig.platform.wallClockAtStart = {2008, 11, 30, 23, 59, 58, "", ""};
    std::ofstream(rig.programDir / "SERLOGS") << "a file where the folder belongs";
    rig.start();              // "Program start", kept like the alarms until the last
    rig.select("SSTab1", 3);  // the status alone is polled
    const std::pair<std::int64_t, int> steps[] = {{0, 23}, {2, 9}, {31 * 86400 - 1, 23}, {1, 9}};
    for (auto [seconds, alarm] : steps) {
        if (alarm == 9 && seconds == 1)
            std::filesystem::remove(rig.programDir / "SERLOGS");
        rig.platform.clockOffsetSeconds += seconds;
        rig.fault("SAS").reply = statusRecord({{alarm, '1'}});
        rig.runPast("SAS");
    }
    EXPECT_EQ(rig.readFile("SERLOGS/2008-11.TXT"),
              " 1 30-11-2008--23:59:58 Program start\r\n"
              " 100 30-11-2008--23:59:58 -Overload\r\n");
    EXPECT_EQ(rig.readFile("SERLOGS/2008-12.TXT"),
              " 100 01-12-2008--00:00:00 -S1 SCR failure\r\n"
              " 100 31-12-2008--23:59:59 -Overload\r\n");
    EXPECT_EQ(rig.readFile("SERLOGS/2009-01.TXT"), " 100 01-01-2009--00:00:00 -S1 SCR failure\r\n");
}

TEST(PcLog, UnwritableLinesAreKeptBoundedWholeAndWrittenInOrderOnceWritingWorks) {
    for (const bool fifo : {false, true}) {
        VirtualRig rig;
        const auto folder = rig.programDir / "SERLOGS";
        if (fifo) {  // the old monitor waited for ever to open it
            std::filesystem::create_directory(folder);
            ASSERT_EQ(mkfifo((folder / "2026-12.TXT").c_str(), 0600), 0);
        } else {
            std::ofstream(folder) << "not a folder";
        }
        rig.start();
        EXPECT_EQ(rig.caption(kStatusLine),
                  "PC log not written: " + (folder / "2026-12.TXT").string() +
                      (fifo ? ": not a regular file" : ": Not a directory") +
                      "; 1 line kept to write later");
        rig.fault("SAS").reply = statusRecord({{23, '1'}});
        rig.runPast("SAS");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        rig.writeFile("SERLOGS/2026-12.TXT", " 1 05-12-2026--14:00:00 cut short");
        rig.advance(1'000);  // the retry every second, each line whole on a line of its own
        EXPECT_EQ(rig.readFile("SERLOGS/2026-12.TXT"),
                  " 1 05-12-2026--14:00:00 cut short\r\n 1 05-12-2026--14:05:00 Program start\r\n"
                  " 100 05-12-2026--14:05:00 -Overload\r\n");
    }
    // A full disk lets a line through in part: the file stays as it was.
    VirtualRig rig;
    rig.start();
    const std::string before = rig.readFile("SERLOGS/2026-12.TXT");
    PcEventLog& log = rig.monitor.core().pcEvents;
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit full{before.size() + 20, unlimited.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    for (int n = 0; n < 1002; ++n)
        log.WritePcLog(7, "Event " + std::to_string(n));
    setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(rig.readFile("SERLOGS/2026-12.TXT"), before);
    EXPECT_EQ(rig.caption(kStatusLine),
              "PC log not written: " + (rig.programDir / "SERLOGS/2026-12.TXT").string() +
                  ": File too large; 1000 lines kept to write later, 2 dropped");
    std::signal(SIGXFSZ, SIG_DFL);
    log.WritePcLog(7, "Event 1002");  // after the kept ones, in order
    std::string expected = before;
    for (int n = 2; n <= 1002; ++n)
        expected += " 7 05-12-2026--14:05:00 Event " + std::to_string(n) + "\r\n";
    EXPECT_EQ(rig.readFile("SERLOGS/2026-12.TXT"), expected);
}

TEST(PcLog, PcLogsOpensTheCalendar) {
    VirtualRig rig;
    rig.start();
    rig.click(kPcLogs);  // "PC Logs": the calendar, without an argument
    EXPECT_EQ(
        rig.platform.startedPrograms.back().first + rig.platform.startedPrograms.back().second,
        (rig.programDir / "kirnal").string());
}

TEST(StsLogRow, WholeRecordsGiveWholeRows) {
    const std::pair<const char*, const char*> cases[] = {
        {"$000 000 000 000 000 000 000 000 000\r", "00/00/2000  00:00"},
        {"$006 006 255 255 023 059 031 012 099\r", "Empty log record"},
        {"$006 005 000 000 001 002 003 004 008\r", "03/04/2008  01:02 Source1 BAD- Non synchron-"},
        {"$011 003 128 000 009 005 001 001 010\r",
         "01/01/2010  09:05 Short circuit- Source1 BAD- Source2 BAD- Output SW off"},
        {"$002 255 255 255 000 000 000 000 007\r",
         "00/00/2007  00:00 Emergency Stop- Source1 BAD- Source2 BAD- Non synchron- Overload-"
         " Non SYNC inhibit- XFER inhibit- S1 SCR open- S2 SCR open- DC PSP failure 1-"
         " DC PSP failure 2- Overtemperature- Manual XFER to S1- Manual XFER to S2-"
         " S1 phase seq.bad- S2 phase seq.bad- Output SW off S1 input sw. off-"
         " S2 input sw. off- S1 blackout sense- S2 blackout sense- S1 freq. bad-"
         " S2 freq. bad- S1 balance bad- S2 balance bad-"},
        {"$004 256 000 000 007\r", "00/00/2000  07:00 On source 2-"},  // short; bit 256 ignored
        {"ACCESS DENIED\r", "00/00/2000  00:00"},
    };
    for (const auto& [record, row] : cases)
        EXPECT_EQ(stsLogRowText(record), row) << record;
}

TEST(StsLogDownload, FetchesInOrderStartsAgainAfterATimeOutOrARefreshAndSendsNothingMoreAtTheEnd) {
    VirtualRig rig("COMPORT:2\r\nTIMEOUT:500\r\n");
    for (int n = 0; n < 128; ++n)  // record n's minute is n: rows show their order
        rig.fault("LOG" + threeDigits(n)).reply =
            "$003 000 000 000 010 " + threeDigits(n) + " 001 002 007\r";
    rig.fault("LOG003").silent = true;
    rig.start();
    rig.select("SSTab1", 4);
    const Texts& rows = rig.element(kStsLogList).items();
    auto requests = [&] {
        return std::ranges::count_if(rig.commandsSent(),
                                     [](auto& c) { return c.starts_with("LOG"); });
    };
    rig.runUntil([&] { return requests() == 4; });
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(rig.caption(kStsLogProgress), "Reading record 4 of 128");
    rig.fault("LOG003").silent = false;
    rig.runUntil([&] { return rows.empty(); }, 1'000);
    EXPECT_EQ(rig.caption(kStatusLine), "Time out on com2");
    rig.runUntil([&] { return rows.size() == 5; });
    EXPECT_EQ(rig.commandsSent()[4], "LOG000");
    EXPECT_EQ(rows[4], "4-01/02/2007  10:04 On source 1-");

    rig.runUntil([&] { return rows.size() == 128; });
    EXPECT_EQ(rows[127], "127-01/02/2007  10:127 On source 1-");
    EXPECT_EQ(rig.caption(kStsLogProgress), "All 128 records read");
    const auto sent = requests();
    rig.advance(10'000);
    EXPECT_EQ(requests(), sent) << "silence after the last";
    EXPECT_EQ(rows.size(), 128u);
    rig.click(kRefreshStsLogs);  // Refresh: from record 0 again
    rig.runUntil([&] { return rows.size() == 1; });
    EXPECT_EQ(rows[0], "0-01/02/2007  10:00 On source 1-");
}

// A remote station has no com port to time out on: the download says it as the poll cycle does.
TEST(StsLogDownload, ARemoteStationTimesOutAsRemote) {
    VirtualRig rig("TIMEOUT:500\r\nREMOTEIP1:10.0.0.7\r\n");
    rig.fault("LOG000").silent = true;
    rig.start();
    rig.select("List3", 1), rig.click("Command5"), rig.select("SSTab1", 4);
    rig.runUntil([&] { return rig.caption(kStatusLine).find("ime out") != std::string::npos; });
    EXPECT_EQ(rig.caption(kStatusLine), "Remote STS communication time out");
}

class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        // Left by Saves cut short, this version's and an earlier one's; not the operator's copy.
        for (const char* name : {"sts.cfg.new", "sts.cfg.Ab1xYz", "sts.cfg.bak"})
            rig.writeFile(name, "PASSWORD:left by a crash\r\n");
        rig.start();
        open();
    }
    void open() { rig.click(kSettingsMenu); }
    const std::string& shown(std::string_view name) { return rig.caption(name, Form::Form2); }
    void save() { rig.click("Command1", Form::Form2); }
    bool visible() { return rig.element("Form2", Form::Form2).visible(); }
    std::string file() { return rig.readFile("sts.cfg"); }

    // An older file: the station name in the Windows code page.
    VirtualRig rig{
        "COMPORT:3\r\nEMAILENABLE:-1\r\nUSEAUTHENTICITATION:1\r\nSNAME: Z\xFCrich \r\n"
        "MAILRETRY:7\r\nREMOTEPORT:1200\r\nTIMEOUT:0\r\n"};
};

TEST_F(SettingsDialog, ShowsWhatIsStoredCancelAndMailTestStoreNothingDemoIsForThisRunOnly) {
    EXPECT_FALSE(std::filesystem::exists(rig.programDir / "sts.cfg.new") ||
                 std::filesystem::exists(rig.programDir / "sts.cfg.Ab1xYz"));
    EXPECT_TRUE(std::filesystem::exists(rig.programDir / "sts.cfg.bak"));
    // TIMEOUT:0 would wait for ever: said once, and "Data OK" leaves it standing for a while.
    const std::string replaced = "sts.cfg: TIMEOUT:0 replaced by TIMEOUT:1000";
    rig.advance(9'000);
    EXPECT_EQ(rig.platform.stderrLines, Texts{replaced});
    EXPECT_EQ(rig.caption(kStatusLine), replaced);
    rig.advance(2'000);
    EXPECT_EQ(rig.caption(kStatusLine), "Data OK");
    EXPECT_EQ(shown("Text14") + "|" + shown("Combo1") + "|" + shown("Text18"),
              " Z\xC3\xBCrich |COM3|1200");
    EXPECT_EQ(rig.element("Check1", Form::Form2).value() * 10 +
                  rig.element("Check2", Form::Form2).value(),
              1)
        << "-1 is not ticked, 1 is";
    rig.click("Command2", Form::Form2);  // the mail test, with the saved settings
    EXPECT_EQ(rig.platform.startedPrograms.back().second, "1&&test message++STS test message");
    rig.type("Text1", "x@y");
    rig.click("Command2", Form::Form2);  // the mail program would not see x@y
    EXPECT_EQ(rig.platform.startedPrograms.size(), 1u);
    EXPECT_EQ(rig.caption("MailTestOutcome", Form::Form2),
              "e-mail test not sent: it uses the saved settings, and the form has changes. Save "
              "first.");
    const std::string before = file();
    rig.click("Command3", Form::Form2);
    EXPECT_FALSE(visible());
    open();
    EXPECT_EQ(shown("Text1") + file(), before);

    rig.select("Combo1", 0, Form::Form2);
    save();
    EXPECT_EQ(rig.caption(kLinkKind), "Demo");
    rig.advance(1'500);  // no DEMOSET.CFG here: no answers
    EXPECT_EQ(rig.caption(kStatusLine), "Demo: DEMOSET.CFG has no answer to SRV");
    EXPECT_TRUE(file().starts_with("COMPORT:3\r\n")) << "the file keeps the port";
    open();
    EXPECT_EQ(rig.element("Combo1", Form::Form2).listIndex(), 0);
    save();
    EXPECT_TRUE(file().starts_with("COMPORT:3\r\n")) << "saved twice, still the real port";
}

TEST_F(SettingsDialog, SaveTrimsTheMailFieldsOnlyWritesTheFileAndRestartsPollingOnMeasures) {
    rig.select("SSTab1", 4);
    rig.type("Text1", "  a@b.c ");
    rig.type("Text5", " secret ");
    rig.type("Text13", " Alarm ");
    rig.type("Text15", " 10.0.0.9 ");
    rig.select("Combo1", 5, Form::Form2);
    save();
    EXPECT_TRUE(!visible() && rig.element(kTabs).listIndex() == 0);
    EXPECT_EQ(rig.caption(kLinkKind), "com5");
    rig.runUntilSent(1);
    EXPECT_EQ(rig.platform.serialWrites[0].atMs, 1000);

    EXPECT_EQ(std::ranges::count(file(), '\n'), 25);
    EXPECT_TRUE(file().starts_with("COMPORT:5\r\nSENDERNAME:\r\nSENDERADRES:a@b.c\r\n"));
    for (const char* line : {"\nPASSWORD:secret\r", "\nSUBJECT: Alarm \r", "\nEMAILENABLE:0\r",
                             "\nREMOTEIP1: 10.0.0.9 \r", "\nUSEAUTHENTICITATION:1\r",
                             "\nREMOTEPORT:1200\r", "\nTIMEOUT:0\r", "\nSNAME: Z\xC3\xBCrich \r"})
        EXPECT_NE(file().find(line), std::string::npos) << line;
    EXPECT_NE(file().find("\nMAILRETRY:7\r\nFAILDELAY:5\r"), std::string::npos);
    open();
    EXPECT_EQ(shown("Text1") + "|" + shown("Text13"), "a@b.c| Alarm ");
}

TEST_F(SettingsDialog, BadPortOrAFileThatCannotBeWrittenIsRefusedAndNothingChanges) {
    const std::string before = file();
    auto refused = [&](const char* why, std::string_view says = "") {
        save();
        const auto messages = rig.monitor.ui().takeMessages();
        EXPECT_TRUE(messages.size() == 1 && messages[0].text.find(says) != std::string::npos)
            << why;
        EXPECT_TRUE(visible()) << why;
        EXPECT_EQ(file(), before) << why;
        EXPECT_EQ(rig.caption(kLinkKind), "com3") << why;  // as from the start
    };
    rig.type("Text1", "new@x");
    for (const char* port : {"", "abc", "12x", "0", "-5", "32768", "99999999999"}) {
        rig.type("Text18", port);
        refused(port);
    }
    rig.type("Text18", " 2000 ");
    // Pasted text that would add lines to the file; the message names the field.
    rig.type("Text17", "10.0.0.3\nCOMPORT:7\nRECEIPADRES1:evil@example.com");
    refused("pasted lines", "\"Remote STS 3\"");
    rig.type("Text17", "");
    rig.type("Text14", "Z\xC2\x85rich");  // a C1 line break
    refused("C1", "\"Station name\"");
    rig.type("Text14", "");
    rig.type("Text13", std::string(501, 'x'));  // the mail program takes 500 characters
    refused("long subject", "\"Subject\" is longer than 500 characters");
    rig.type("Text13", "");
    rig.type("Combo1", "COM17");  // typed, not chosen
    refused("COM17");
    rig.type("Combo1", "COM16");
    rig.platform.fileWritesFail = true;
    refused("unwritable");
    rig.platform.fileWritesFail = false;
    rig.click("Command3", Form::Form2);
    open();
    EXPECT_EQ(shown("Text1"), "") << "memory unchanged";
    rig.type("Text18", " 2000 ");
    rig.type("Combo1", "COM16");
    save();
    EXPECT_FALSE(visible());
    EXPECT_TRUE(file().starts_with("COMPORT:16\r\n"));
    EXPECT_NE(file().find("\nREMOTEPORT:2000\r"), std::string::npos);
}

// What the device logged while the line was cut comes back after "Link restored", on the PC's
// clock (the device's runs 10 s ahead), in order and once (a second loss adds nothing), from the
// serial line and from a remote station alike (which does not mail the device's alarms).
TEST(LogRecovery, RecordsOfACutAreWrittenOnceInOrderAfterTheRestoreAndNeverAgain) {
    const std::string rows[] = {
        "05/12/2026  14:06 On source 2- Source1 BAD- Non synchron- XFER inhibit- S1 blackout "
        "sense-",
        "05/12/2026  14:06 Source1 BAD- Non synchron- XFER inhibit- S1 blackout sense-",
        "05/12/2026  14:07", "05/12/2026  14:08 On source 1-"};
    for (const std::string link : {"COM1", "Remote STS 10.0.0.7"}) {
        VirtualRig rig("COMPORT:1\r\nTIMEOUT:1000\r\nEMAILENABLE:1\r\nREMOTEIP1:10.0.0.7\r\n");
        rig.start();
        if (link != "COM1")
            rig.select("List3", 1), rig.click(kConnect);
        rig.advance(60'000);
        auto cut = [&](bool events) {
            rig.line.cut = true;
            rig.advance(30'000);
            if (events) {
                rig.sts.plant().setCondition(sts::Condition::Blackout, 0, true, rig.now());
                rig.advance(60'000);
                rig.sts.plant().clearSourceFaults(0, rig.now());
            }
            rig.advance(60'000);
            rig.line.cut = false;
            rig.advance(120'000);
        };
        const auto recovered = [&] {  // the restores without their time
            std::istringstream log(rig.readFile("SERLOGS/2026-12.TXT"));
            std::string lines;
            for (std::string line; std::getline(log, line);)
                lines += line.starts_with(" 110")   ? line + "\n"
                         : line.starts_with(" 201") ? line.substr(26) + "\n"
                                                    : "";
            return lines;
        };
        cut(true);
        std::string once = "Link restored " + link + "\r\n";
        const char* times[] = {"14:05:50 ", "14:05:50 ", "14:06:50 ", "14:07:50 "};
        for (int i = 0; i < 4; ++i)
            once += " 110 05-12-2026--" + std::string(times[i]) + rows[i] + "\r\n";
        EXPECT_EQ(recovered(), once) << link;
        const std::size_t mails = link == "COM1" ? 2 : 1;  // the loss's mail, then this one
        ASSERT_EQ(rig.platform.startedPrograms.size(), mails) << link;
        EXPECT_TRUE(rig.platform.startedPrograms.back().second.ends_with(
            link != "COM1"
                ? "<br>-Link lost Remote STS 10.0.0.7"
                : "<br>While the link to COM1 was lost from 14:06 to 14:08 the STS recorded:<br>" +
                      rows[0] + "<br>" + rows[1] + "<br>" + rows[2] + "<br>" + rows[3]));
        cut(false);
        EXPECT_EQ(recovered(), once + "Link restored " + link + "\r\n") << link;
        EXPECT_EQ(rig.platform.startedPrograms.size(), mails + 1) << "the second loss's mail alone";
    }
}

// The device logs on while its log is read: the records shift and one is read at two indices.
TEST(LogRecovery, ARecordReadTwiceAsTheLogShiftsIsWrittenOnce) {
    VirtualRig rig("COMPORT:1\r\nTIMEOUT:1000\r\n");
    rig.start();
    rig.advance(60'000);
    rig.line.cut = true;
    rig.advance(30'000);
    rig.sts.plant().setCondition(sts::Condition::Blackout, 0, true, rig.now());
    rig.advance(60'000);
    rig.line.cut = false;
    rig.runUntil([&] { return rig.commandsSent().back() == "LOG001"; });
    rig.sts.plant().clearSourceFaults(0, rig.now());
    rig.advance(180'000);
    std::istringstream log(rig.readFile("SERLOGS/2026-12.TXT"));
    std::set<std::string> seen;
    int recovered = 0;
    for (std::string line; std::getline(log, line);)
        if (line.starts_with(" 110")) {
            ++recovered;
            EXPECT_TRUE(seen.insert(line).second) << line;
        }
    EXPECT_GE(recovered, 2);
}

// A start recovers what the device logged since the last line of the PC event files (its
// power-up here), unless a line of an earlier recovery holds it already.
TEST(LogRecovery, AStartRecoversTheTimeSinceTheLastLineOnce) {
    const std::string before = " 2 05-12-2026--14:05:00 Program end\r\n";
    const std::string row = " 110 05-12-2026--14:04:50 05/12/2026  14:05 STS Reset-\r\n";
    for (const std::string& earlier : {std::string(), row}) {
        VirtualRig rig;
        std::filesystem::create_directory(rig.programDir / "SERLOGS");
        rig.writeFile("SERLOGS/2026-12.TXT", earlier + before);
        rig.advance(60'000);
        rig.start();
        rig.advance(60'000);
        EXPECT_EQ(rig.readFile("SERLOGS/2026-12.TXT"),
                  earlier + before + " 1 05-12-2026--14:06:00 Program start\r\n" +
                      (earlier.empty() ? row : ""));
    }
}
}  // namespace
}  // namespace treld::testing
