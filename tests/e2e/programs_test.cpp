// The built programs in temporary program directories: the monitor, the simulator and the
// mail program.
#include <gtest/gtest.h>

#include <thread>

#include "e2e_support.h"
#include "mail_sink_process.h"

namespace treld::e2e {
namespace {

TEST(SerialFaults, ADeviceVanishingMidReplyLeavesARunningSmallIdleMonitor) {
    ProgramDir dir;
    DeviceLine line;
    const auto monitor = startMonitor(dir, line.monitorEnd(), "COMPORT:1\r\nTIMEOUT:500\r\n");
    ASSERT_TRUE(line.nextCommand(5s));
    line.send("#230 231 2");  // and the device vanishes mid-reply, for good
    line.hangUp();
    const double cpuBefore = monitor->cpuSeconds();
    std::this_thread::sleep_for(6s);
    EXPECT_TRUE(monitor->running());
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);
    EXPECT_LT(monitor->cpuSeconds() - cpuBefore, 3.0) << "a hung-up line must not make it spin";
}

// A black-out: the real mail program (one argument, no shell) delivers the alarm to a
// loopback mail server.
TEST(Station, AlarmArrivesByMail) {
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

    EXPECT_FALSE(std::filesystem::exists(inbox / "2.txt")) << "a steady status mails nothing more";
}

}  // namespace
}  // namespace treld::e2e
