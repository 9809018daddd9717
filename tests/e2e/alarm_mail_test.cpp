// An alarm played by the real sts-sim reaches the PC event file and the mail
// program, which a recording stand-in replaces in the program directory.
#include <gtest/gtest.h>

#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> lines(const std::string& text, const std::string& end) {
    std::vector<std::string> result;
    for (std::size_t at = 0, next; (next = text.find(end, at)) != std::string::npos;
         at = next + end.size())
        result.push_back(text.substr(at, next - at));
    return result;
}

TEST(AlarmMail, FaultFromTheSimulatorIsLoggedAndMailedAsOneArgumentWithoutAShell) {
    ProgramDir dir;
    dir.install("treld");
    dir.install("sts-sim");
    // Each start appends its argument count and its first argument, then a record end.
    dir.write("drovelin",
              "#!/bin/sh\nprintf '%s|%s\\036' \"$#\" \"$1\" >> \"$(dirname \"$0\")/mails.txt\"\n");
    std::filesystem::permissions(dir.path() / "drovelin", std::filesystem::perms::owner_all);
    dir.write("sts.cfg",
              "COMPORT:1\r\nTIMEOUT:500\r\nEMAILENABLE:1\r\nSNAME:Plant $(id) & \"B\"\r\n");
    dir.write("fault.scn", "0s source1 blackout\n0s output-switch off\n");
    const std::string line = (dir.path() / "sts-line").string();
    Process simulator(dir.path() / "sts-sim",
                      {"--link", line, "--scenario", (dir.path() / "fault.scn").string()});
    for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i)
        std::this_thread::sleep_for(20ms);
    Process monitor(dir.path() / "treld", {},
                    {{"QT_QPA_PLATFORM", "offscreen"}, {"TRELD_COM1", line}});
    for (int i = 0; i < 100 && !std::filesystem::exists(dir.path() / "mails.txt"); ++i)
        std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(500ms);  // a steady status: no further event

    const std::string list = "-S1 Black out-S1 BAD--Transfer inhibit--Output SW.off";
    const std::vector<std::string> mails = lines(dir.read("mails.txt"), "\036");
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_TRUE(mails[0].starts_with(
        "1|1&&send++This message is automatically produced by STS management software<br>"
        "Station : Plant $(id) & \"B\"<br>Your STS unit produced the following alarm/alarms:<br>"));
    EXPECT_TRUE(mails[0].ends_with("<br>" + list));

    std::vector<std::string> events;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "SERLOGS")) {
        for (const std::string& event :
             lines(dir.read("SERLOGS/" + entry.path().filename().string()), "\r\n")) {
            if (event.starts_with(" 100 "))
                events.push_back(event);
        }
    }
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0].ends_with(" " + list));
    EXPECT_TRUE(monitor.running());
}

}  // namespace
}  // namespace treld::e2e
