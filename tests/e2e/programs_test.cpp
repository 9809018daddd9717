// The built programs in temporary program directories: the monitor, the simulator and the
// mail program.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <thread>

#include "e2e_support.h"
#include "mail_sink_process.h"

namespace treld::e2e {
namespace {

// The output (standard error included) and exit code of a shell command line.
std::pair<std::string, int> run(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(CommandLines, EveryProgramAnswersHelpAndVersionAndTheMonitorRunsHeadlessWithoutADisplay) {
    ProgramDir dir;
    dir.write("sts.cfg", "COMPORT:99\r\nREMOTEPORT:" + std::to_string(freeTcpPort()) + "\r\n");
    const std::string noDisplay =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 ";
    for (const std::string program : {"treld", "kirnal", "sts-sim", "drovelin"}) {
        dir.install(program);
        const std::string path = (dir.path() / program).string();
        const auto [help, code] = run(noDisplay + path + " --help");
        EXPECT_EQ(code, 0) << help;
        EXPECT_NE(help.find("--version"), std::string::npos) << help;
        EXPECT_EQ(run(noDisplay + path + " --version"),
                  std::pair(program + " " TRELD_VERSION "\n", 0));
    }
    const auto [said, code] =
        run("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:99 timeout 3 " +
            (dir.path() / "treld").string());
    EXPECT_EQ(code, 124) << "still running after 3 s: " << said;
    EXPECT_NE(said.find("Display :99 cannot be opened: the monitor runs headless"),
              std::string::npos)
        << said;
}

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
