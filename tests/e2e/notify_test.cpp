// The real monitor on sts-sim with notify.cfg: a black-out reaches a webhook, an ntfy topic (a
// loopback HTTP server records each request) and a program; a target answering 500 is said;
// --test-notify reports what each target answered.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

TEST(Notify, BlackOutReachesWebhookNtfyAndCommandAndTestNotifyReportsEachTarget) {
    ProgramDir dir;
    Process sink("/usr/bin/python3", {HTTP_SINK_SCRIPT, dir.path().string()});
    for (int i = 0; i < 100 && !std::filesystem::exists(dir.path() / "port"); ++i)
        std::this_thread::sleep_for(50ms);
    const std::string url = "http://127.0.0.1:" + dir.read("port");
    dir.write("env.sh", "#!/bin/sh\nenv | grep ^TRELD_ | sort > \"$0.out\"\n");
    std::filesystem::permissions(dir.path() / "env.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    dir.write("notify.cfg", "WEBHOOK:" + url + "/hook\nNTFY:" + url + "/topic\nTOKEN:tk_1\n" +
                                "EVENTS:alarms\nCOMMAND:env.sh\nEVENTS:alarms\nWEBHOOK:" + url +
                                "/500\nEVENTS:program\n");
    dir.write("fault.scn", "1s source1 blackout\n");
    const auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "fault.scn").string()});
    const auto monitor = startMonitor(dir, (dir.path() / "sts-line").string(),
                                      "COMPORT:1\r\nTIMEOUT:500\r\nSNAME:plant-7\r\nREMOTEPORT:" +
                                          std::to_string(freeTcpPort()) + "\r\n");
    const Clock::time_point end = Clock::now() + 15s;
    while (Clock::now() < end && (dir.read("env.sh.out").empty() ||
                                  dir.read("requests").find("POST /topic") == std::string::npos))
        std::this_thread::sleep_for(100ms);

    const std::string requests = dir.read("requests"),
                      alarm = "-S1 Black out-S1 BAD--Transfer inhibit";
    for (
        const std::string& part : std::vector<std::string>{
            "POST /hook\nHost: 127.0.0.1", "Content-Type: application/json\n",
            R"({"station":"plant-7","code":1,)",
            R"("text":")" + alarm +
                R"(","recovered":false,"alarms":["S1 Black out","S1 BAD","Transfer inhibit"],"left_out":0})",
            "POST /topic\n", "Title: plant-7\nPriority: high\nAuthorization: Bearer tk_1\n",
            "\n\n" + alarm + "\n----\n", "POST /500\n"})
        EXPECT_NE(requests.find(part), std::string::npos) << part << " in " << requests;
    const std::string environment = dir.read("env.sh.out");
    EXPECT_NE(environment.find("TRELD_CODE=100\n"), std::string::npos) << environment;
    EXPECT_NE(environment.find("TRELD_STATION=plant-7\nTRELD_TEXT=" + alarm + "\nTRELD_TIME=20"),
              std::string::npos)
        << environment;
    EXPECT_NE(dir.read("stderr.txt").find("Notification to webhook2 failed: HTTP 500"),
              std::string::npos);

    FILE* test = popen(((dir.path() / "treld").string() + " --test-notify 2>&1").c_str(), "r");
    std::string answers;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, test)) > 0;)
        answers.append(buffer, n);
    EXPECT_EQ(WEXITSTATUS(pclose(test)), 1);
    EXPECT_EQ(answers, "webhook1 " + url + "/hook: HTTP 200 OK\nntfy1 " + url +
                           "/topic: HTTP 200 OK\ncommand1 " + (dir.path() / "env.sh").string() +
                           ": exit code 0\nwebhook2 " + url +
                           "/500: HTTP 500 Internal Server Error\n");
    EXPECT_NE(dir.read("env.sh.out").find("TRELD_CODE=0\n"), std::string::npos);
}

}  // namespace
}  // namespace treld::e2e
