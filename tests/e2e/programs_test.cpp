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

TEST(SerialFaults, AFloodOfTenMegabytesAndAVanishingDeviceLeaveARunningSmallIdleMonitor) {
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    const std::string config = "COMPORT:1\r\nTIMEOUT:500\r\n";
    ProgramDir dir;
    DeviceLine line;
    const auto monitor = startMonitor(dir, line.monitorEnd(), config);

    ASSERT_TRUE(line.nextCommand(5s));  // and 10 MB without a CR as its reply
    const std::string block(64 * 1024, '7');
    for (int sent = 0; sent < 10 * 1024 * 1024; sent += int(block.size()))
        line.send(block);
    // Then the cycle goes on in order, each command soon after the reply before: the
    // flood left nothing behind.
    auto command = line.nextCommand(10s);
    ASSERT_TRUE(command) << "no command after the flood";
    auto at = std::ranges::find(cycle, command->text) - cycle.begin();
    for (int i = 0; i < 10; ++i) {
        line.send(healthyDeviceReply(command->text));
        command = line.nextCommand(2s);
        ASSERT_TRUE(command) << "the reply to " << cycle[at % 7] << " was not taken";
        EXPECT_EQ(command->text, cycle[++at % 7]);
    }

    ASSERT_TRUE(monitor->running());
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);
    EXPECT_EQ(dir.read("sts.cfg"), config);

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
    const kirnal::YearMonth month{today.tm_year + 1900, today.tm_mon + 1};
    kirnal::CalendarView calendar(dir.path(), {}, month, [](auto) { return std::string(); });
    const int todayCell = kirnal::layoutOf(month).cellOfDay(today.tm_mday);
    EXPECT_EQ(calendar.model().label2[todayCell].background, kirnal::Background::LightCyan);
    calendar.clickCell(todayCell);
    const auto& events = calendar.model().list1;
    ASSERT_EQ(events.size(), 2u) << "a steady status is logged once";
    EXPECT_TRUE(events[0].ends_with(" Program start")) << events[0];
    EXPECT_NE(events[1].find("-S1 Black out"), std::string::npos) << events[1];
    EXPECT_FALSE(std::filesystem::exists(inbox / "2.txt")) << "a steady status mails nothing more";
}

}  // namespace
}  // namespace treld::e2e
