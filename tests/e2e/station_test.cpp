// The built programs together: the simulated STS blacks out, the monitor
// starts the real mail program (one argument, no shell) which delivers to a
// loopback mail server, and the calendar lists the day's events in order.
#include <gtest/gtest.h>

#include <ctime>
#include <thread>

#include "calendar_view.h"
#include "e2e_support.h"
#include "mail_sink_process.h"

namespace treld::e2e {
namespace {

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
