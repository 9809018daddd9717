// The built programs in temporary program directories: the monitor, the simulator and the
// mail program.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "e2e_support.h"
#include "mail_sink_process.h"

namespace treld::e2e {
namespace {

// The output of a shell command line, standard error included, and its exit code.
std::string run(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1; echo exit $?").c_str(), "r");
    std::string output(1 << 16, '\0');
    output.resize(std::fread(output.data(), 1, output.size(), pipe));
    pclose(pipe);
    return output;
}

TEST(CommandLines, EveryProgramAnswersHelpAndVersionAndTheMonitorRunsHeadlessWithoutADisplay) {
    ProgramDir dir;
    dir.write("sts.cfg", "COMPORT:99\r\nREMOTEPORT:" + std::to_string(freeTcpPort()) + "\r\n");
    for (const std::string program : {"treld", "kirnal", "sts-sim", "drovelin"}) {
        dir.install(program);
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 " +
            (dir.path() / program).string();
        const std::string help = run(command + " --help");
        EXPECT_TRUE(help.find("--version") != help.npos && help.ends_with("exit 0\n")) << help;
        EXPECT_EQ(run(command + " --version"), program + " " TRELD_VERSION "\nexit 0\n");
    }
    const std::string said =
        run("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:99 timeout 3 " +
            (dir.path() / "treld").string());
    EXPECT_TRUE(said.find("Display :99 cannot be opened: the monitor runs headless") != said.npos &&
                said.ends_with("exit 124\n"))
        << "still running after 3 s: " << said;
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
