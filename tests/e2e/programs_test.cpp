// The built programs in temporary program directories: the monitor facing faults
// on its serial line and in its folder, and all the programs working together.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <thread>

#include "calendar_view.h"
#include "e2e_support.h"
#include "mail_sink_process.h"

namespace treld::e2e {
namespace {

TEST(SerialFaults, AFloodAnUnwritableLogFolderAndAVanishingDevice) {
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    const std::string config = "COMPORT:1\r\nTIMEOUT:500\r\n";
    ProgramDir dir;
    // A plain file where the folder should be: no one, root included, can
    // create a month file in it; the device reports an alarm to be logged.
    std::filesystem::remove_all(dir.path() / "SERLOGS");
    dir.write("SERLOGS", "not a folder");
    auto reply = [](const std::string& command) {
        return command == "SAS" ? "#11111111 11111111 11111111 11111111 11111\r"
                                : healthyDeviceReply(command);
    };
    DeviceLine line;
    const auto monitor = startMonitor(dir, line.monitorEnd(), config);

    // Answers `count` commands and expects them in cycle order, each soon after the
    // reply before: the fault left nothing behind.
    auto expectHealthyCycle = [&](int count) {
        auto command = line.nextCommand(10s);
        ASSERT_TRUE(command) << "no command after the fault";
        auto position = std::ranges::find(cycle, command->text);
        ASSERT_NE(position, cycle.end()) << command->text;
        for (int i = 0; i < count; ++i) {
            line.send(reply(command->text));
            command = line.nextCommand(2s);
            ASSERT_TRUE(command) << "the reply to " << *position << " was not taken";
            if (++position == cycle.end())
                position = cycle.begin();
            EXPECT_EQ(command->text, *position);
        }
    };
    ASSERT_TRUE(line.nextCommand(5s));  // and 10 MB without a CR as its reply
    const std::string block(64 * 1024, '7');
    for (int sent = 0; sent < 10 * 1024 * 1024; sent += int(block.size()))
        line.send(block);
    expectHealthyCycle(10);

    ASSERT_TRUE(monitor->running());
    std::printf("peak RSS %ld KiB\n", monitor->peakResidentKiB());
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);
    EXPECT_EQ(dir.read("SERLOGS") + dir.read("sts.cfg"), "not a folder" + config);

    ASSERT_TRUE(line.nextCommand(5s));
    line.send("#230 231 2");  // and the device vanishes mid-reply, for good
    line.hangUp();
    const double cpuBefore = monitor->cpuSeconds();
    std::this_thread::sleep_for(6s);
    EXPECT_TRUE(monitor->running());
    EXPECT_LT(monitor->cpuSeconds() - cpuBefore, 3.0) << "a hung-up line must not make it spin";
}

// A black-out: the real mail program (one argument, no shell) delivers the alarm
// to a loopback mail server, and the calendar lists the day's events in order.
TEST(Station, AlarmArrivesByMailAndTheCalendarListsTheDaysEvents) {
    ProgramDir dir;
    dir.install("drovelin");
    const std::filesystem::path inbox = dir.path() / "inbox";
    std::filesystem::create_directory(inbox);
    MailSink sink(inbox, "");
    dir.write("fault.scn", "0s source1 blackout\n");
    const auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "fault.scn").string()});
    const auto monitor =
        startMonitor(dir, (dir.path() / "sts-line").string(),
                     "COMPORT:1\r\nTIMEOUT:500\r\nEMAILENABLE:1\r\nSNAME:Plant $(id) & \"B\"\r\n"
                     "SENDERADRES:sts@plant.example\r\nRECEIPADRES1:ops@plant.example\r\n"
                     "SMTPHOST:127.0.0.1:" +
                         std::to_string(sink.smtpPort) + "\r\nMAILRETRY:2\r\nFAILDELAY:1\r\n");
    for (int i = 0; i < 200 && !std::filesystem::exists(inbox / "1.txt"); ++i)
        std::this_thread::sleep_for(100ms);
    const std::string mail = dir.read("inbox/1.txt");
    EXPECT_NE(mail.find("envelope-to: ops@plant.example"), std::string::npos) << mail;
    EXPECT_NE(mail.find("Station : Plant $(id) & \"B\"<br>"), std::string::npos) << mail;
    EXPECT_NE(mail.find("<br>-S1 Black out-S1 BAD--Transfer inhibit"), std::string::npos) << mail;

    std::this_thread::sleep_for(1s);
    const std::time_t now = std::time(nullptr);
    const std::tm today = *std::localtime(&now);
    const auto texts = kirnal::readLanguageFile(builtProgramDir() / "langkirnal1.TXT");
    ASSERT_TRUE(texts);
    kirnal::CalendarView calendar(dir.path(), *texts, {today.tm_year + 1900, today.tm_mon + 1},
                                  [](kirnal::YearMonth) { return std::string(); });
    const auto& cells = calendar.model().label2;
    int todayCell = 0;
    for (int cell = 1; cell < int(cells.size()); ++cell) {
        if (cells[cell].visible && cells[cell].caption == std::to_string(today.tm_mday))
            todayCell = cell;
    }
    ASSERT_GT(todayCell, 0);
    EXPECT_EQ(cells[todayCell].background, kirnal::Background::LightCyan);
    calendar.clickCell(todayCell);
    const auto& events = calendar.model().list1;
    ASSERT_EQ(events.size(), 2u) << "a steady status is logged once";
    EXPECT_TRUE(events[0].ends_with(" Program start")) << events[0];
    EXPECT_NE(events[1].find("-S1 Black out"), std::string::npos) << events[1];

    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(std::filesystem::exists(inbox / "2.txt")) << "a steady status mails nothing more";
}

}  // namespace
}  // namespace treld::e2e
