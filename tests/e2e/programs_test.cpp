// The built programs in temporary program directories: the monitor, the simulator and the
// mail program.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
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
    for (const std::string program : {"treld", "treld-station", "kirnal", "sts-sim", "drovelin"}) {
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

// The files and folders under `dir`, relative to it.
std::set<std::string> filesUnder(const std::filesystem::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        files.insert(std::filesystem::relative(entry.path(), dir).string());
    return files;
}

// Two stations run from one program folder, one named by $TRELD_DIR (a service's way), one by
// --dir: each polls its own device and writes only into its own directory.
TEST(StationDir, TwoStationsOnOneHostWriteOnlyIntoTheirOwnDirectories) {
    ProgramDir programs, first, second;
    programs.install("treld");
    programs.install("treld-station");
    const std::set<std::string> installed = filesUnder(programs.path());
    std::vector<std::unique_ptr<Process>> simulators, stations;
    for (const ProgramDir* dir : {&first, &second}) {
        dir->write("sts.cfg",
                   "COMPORT:1\r\nTIMEOUT:500\r\nREMOTEPORT:" + std::to_string(freeTcpPort()));
        simulators.push_back(startSimulator(*dir));
        const bool named = dir == &first;
        stations.push_back(std::make_unique<Process>(
            programs.path() / "treld",
            named ? std::vector<std::string>{"--headless"}
                  : std::vector<std::string>{"--headless", "--dir", dir->path().string()},
            std::map<std::string, std::string>{
                {"TRELD_DIR", named ? dir->path().string() : ""},
                {"TRELD_COM1", (dir->path() / "sts-line").string()}}));
    }
    for (int i = 0; i < 100 && simulatorReceived(second).size() < 7; ++i)
        std::this_thread::sleep_for(50ms);
    for (const ProgramDir* dir : {&first, &second})
        EXPECT_GE(simulatorReceived(*dir).size(), 7u) << "a measurement cycle";
    for (const auto& station : stations) {
        station->signal(SIGTERM);
        EXPECT_EQ(station->exitCode(5s), 0);
    }
    EXPECT_EQ(filesUnder(programs.path()), installed);
    for (const ProgramDir* dir : {&first, &second}) {
        std::string events;
        for (const auto& file : std::filesystem::directory_iterator(dir->path() / "SERLOGS"))
            events += dir->read("SERLOGS/" + file.path().filename().string());
        EXPECT_TRUE(events.starts_with(" 1 ") && events.ends_with(" Program end\r\n")) << events;
        EXPECT_FALSE(std::filesystem::exists(dir->path() / "treld.lock"));
    }
}

// A station directory that is missing, not writable or held by another station: a clear
// message, exit code 1, and nothing written into the program folder or the directory.
TEST(StationDir, AMissingUnwritableOrTakenDirectoryIsSaidAndNothingIsWritten) {
    ProgramDir programs, unwritable, taken;
    programs.install("treld");
    programs.install("treld-station");
    std::filesystem::permissions(programs.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(unwritable.path(), std::filesystem::perms(0555));
    taken.write("sts.cfg", "COMPORT:99\r\nREMOTEPORT:" + std::to_string(freeTcpPort()));
    const Process holder(programs.path() / "treld-station", {"--dir", taken.path().string()});
    for (int i = 0; i < 100 && !std::filesystem::exists(taken.path() / "treld.lock"); ++i)
        std::this_thread::sleep_for(20ms);
    const std::set<std::string> installed = filesUnder(programs.path());
    // Root writes anywhere: the station runs as nobody on the unwritable directory then.
    const std::string nobody =
        geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string nowhere = (programs.path() / "nowhere").string();
    const struct {
        std::string dir, user, said;
    } cases[] = {
        {nowhere, "", "Station directory " + nowhere + " is missing; the monitor ends."},
        {unwritable.path(), nobody,
         "Station directory " + unwritable.path().string() + " is not writable; the monitor ends."},
        {taken.path(), "",
         "Another monitor runs from " + taken.path().string() + "; this one ends."},
    };
    for (const auto& [dir, user, said] : cases) {
        EXPECT_EQ(run(user + (programs.path() / "treld").string() + " --headless --dir " + dir),
                  said + "\nexit 1\n");
        EXPECT_EQ(filesUnder(programs.path()), installed);
    }
    EXPECT_EQ(filesUnder(unwritable.path()), std::set<std::string>{"SERLOGS"});
}

// How many mail programs run from `dir`; each is sent `signal` when it is not 0. None is in the
// test's session, where a closed terminal's SIGHUP or a Ctrl-C would end it with the monitor.
std::size_t mailPrograms(const ProgramDir& dir, int signal = 0) {
    std::size_t found = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::error_code gone;
        if (std::filesystem::read_symlink(entry.path() / "exe", gone) != dir.path() / "drovelin")
            continue;
        const pid_t pid = std::stoi(entry.path().filename());
        EXPECT_NE(getsid(pid), getsid(0));
        found += signal == 0 || kill(pid, signal) == 0;
    }
    return found;
}

// One monitor per folder and per device, whatever path names it; an alarm that flaps while the
// mail server takes connections and says nothing runs one mail program at a time; SIGTERM ends
// the monitor cleanly and gives the alarms that wait a mail program of their own.
TEST(Station, OneMonitorPerFolderAndDeviceOneMailProgramAtATimeAndACleanStop) {
    ProgramDir dir, other;
    dir.install("drovelin");
    const int stalling = socket(AF_INET, SOCK_STREAM, 0), port = freeTcpPort();
    sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
    ASSERT_EQ(bind(stalling, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(stalling, 64);
    DeviceLine line;
    const std::string config =
        "COMPORT:1\r\nTIMEOUT:500\r\nEMAILENABLE:1\r\nSENDERADRES:sts@plant.example\r\n"
        "RECEIPADRES1:ops@plant.example\r\nSMTPHOST:127.0.0.1:" +
        std::to_string(port) + "\r\n";
    const auto monitor = startMonitor(dir, line.monitorEnd(), config);
    ASSERT_TRUE(line.nextCommand(5s));
    const auto again = startMonitor(dir, line.monitorEnd(), config);
    const std::string link = (other.path() / "line").string();
    std::filesystem::create_symlink(line.monitorEnd(), link);
    const auto elsewhere = startMonitor(other, link, "COMPORT:1\r\n");
    ProgramDir third;
    const auto samePath = startMonitor(third, line.monitorEnd(), "COMPORT:1\r\n");
    AnsweringDevice device;
    std::size_t alarms = 0, most = 0;
    for (const auto end = Clock::now() + 5s; Clock::now() < end;) {
        const auto command = line.nextCommand(1s);
        if (!command)
            continue;
        if (command->text == "SAS") {  // Overload and Output SW.off in turn
            const bool overload = ++alarms % 2;
            device.model.plant().setCondition(sts::Condition::Overload, 0, overload, device.ms());
            device.model.plant().setCondition(sts::Condition::OutputSwitchOff, 0, !overload,
                                              device.ms());
        }
        line.send(device.reply(command->text));
        most = std::max(most, mailPrograms(dir));
    }
    EXPECT_TRUE(alarms > 10 && most == 1) << alarms << " alarms, " << most << " mail programs";
    EXPECT_EQ(again->exitCode(1s), 1);
    EXPECT_NE(dir.read("stderr.txt").find("Another monitor runs from"), std::string::npos);
    EXPECT_NE(other.read("stderr.txt").find("COM1 (" + link + "): in use by another monitor"),
              std::string::npos);
    EXPECT_NE(third.read("stderr.txt")
                  .find("COM1 (" + line.monitorEnd() + "): in use by another monitor"),
              std::string::npos)
        << third.read("stderr.txt");

    monitor->signal(SIGTERM);
    EXPECT_EQ(monitor->exitCode(5s), 0);
    EXPECT_EQ(mailPrograms(dir), 2u);
    for (const auto& file : std::filesystem::directory_iterator(dir.path() / "SERLOGS"))
        EXPECT_TRUE(
            dir.read("SERLOGS/" + file.path().filename().string()).ends_with(" Program end\r\n"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "treld.lock"));
    mailPrograms(dir, SIGKILL);
    close(stalling);
}

// Whether something listens on TCP port `port` of this host.
bool listening(int port) {
    std::ifstream table("/proc/net/tcp");
    char tail[8];
    std::snprintf(tail, sizeof tail, ":%04X", port);
    std::string slot, local, remote, state;
    while (table >> slot >> local >> remote >> state && table.ignore(1 << 12, '\n')) {
        if (local.ends_with(tail) && state == "0A")
            return true;
    }
    return false;
}

// Asks `done` every 50 ms until it holds, at most `tries` times.
template <typename Done>
void until(Done done, int tries) {
    for (int i = 0; i < tries && !done(); ++i)
        std::this_thread::sleep_for(50ms);
}

// A USB adapter unplugged and plugged back, or a terminal server that goes and comes back:
// socat gives the monitor a line at a fixed path or a TCP port and joins it to the simulator
// (replies in pieces, so the line often vanishes mid-reply).
class SerialFaults : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(DeviceFileOrTerminalServer, SerialFaults, testing::Bool(),
                         [](const auto& tcp) {
                             return tcp.param ? "TerminalServer" : "DeviceFile";
                         });

TEST_P(SerialFaults, UnpluggedTheMonitorSleepsAndLogsItRepluggedItPollsAgainAndLogsThat) {
    const bool overTcp = GetParam();
    ProgramDir dir;
    const auto simulator = startSimulator(dir, {"--chunks", "4"});
    const int port = freeTcpPort();
    const std::string tcp = "127.0.0.1:" + std::to_string(port);
    const std::string line = overTcp ? "tcp://" + tcp : (dir.path() / "com1").string();
    const auto plugIn = [&] {
        auto socat = std::make_unique<Process>(
            "/usr/bin/socat",
            std::vector<std::string>{
                overTcp ? "TCP-LISTEN:" + tcp.substr(10) + ",bind=127.0.0.1,reuseaddr"
                        : "PTY,rawer,link=" + line,
                "OPEN:" + dir.path().string() + "/sts-line,rawer"});
        until([&] { return overTcp ? listening(port) : std::filesystem::exists(line); }, 100);
        return socat;
    };
    auto socat = plugIn();
    const auto monitor = startMonitor(dir, line, "COMPORT:1\r\nTIMEOUT:500\r\n");
    const auto polls = [&] { return simulatorReceived(dir).size(); };
    until([&] { return polls() >= 20; }, 100);
    if (overTcp) {  // the same terminal server's port is one monitor's alone
        ProgramDir other;
        const auto second = startMonitor(other, line, "COMPORT:1\r\n");
        const std::string said = "COM1 (" + line + "): in use by another monitor";
        until([&] { return other.read("stderr.txt").find(said) != std::string::npos; }, 100);
        EXPECT_NE(other.read("stderr.txt").find(said), std::string::npos);
    }
    socat->signal(SIGTERM);  // unplugged: the line hangs up and its path goes
    until([&] { return !socat->running(); }, 100);
    const double cpuBefore = monitor->cpuSeconds();
    std::this_thread::sleep_for(3500ms);  // back before the reopen 5 s after the loss
    const double cpu = monitor->cpuSeconds() - cpuBefore;
    EXPECT_LT(cpu, 0.035) << "1 % of a core while the device is gone";
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);

    const std::size_t before = polls();
    const Clock::time_point plugged = Clock::now();
    socat = plugIn();
    until([&] { return polls() >= before + 3; }, 120);
    EXPECT_GE(polls(), before + 3) << "polling again within 6 s of the replug";
    std::cout << "unplugged: " << cpu << " CPU-s in 3.5 s; replugged: polling after "
              << std::chrono::duration<double>(Clock::now() - plugged).count() << " s\n";
    const auto month = *std::filesystem::directory_iterator(dir.path() / "SERLOGS");
    EXPECT_EQ(std::regex_replace(dir.read("SERLOGS/" + month.path().filename().string()),
                                 std::regex("[-:0-9]{20} "), ""),
              " 1 Program start\r\n 200 Link lost COM1\r\n 201 Link restored COM1\r\n");
}

// Terminal servers that misbehave: one floods the line, another's address names no port. Each
// is said on stderr and is a lost link; the monitor stays lean.
TEST(SerialFaults, AFloodingTerminalServerIsDroppedAndAnAddressWithoutAPortIsSaid) {
    ProgramDir flooded, unnamed;
    const int port = freeTcpPort();
    const Process flood("/usr/bin/socat",
                        {"TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork",
                         "OPEN:/dev/zero"});
    until([&] { return listening(port); }, 100);
    const auto monitor = startMonitor(flooded, "tcp://127.0.0.1:" + std::to_string(port),
                                      "COMPORT:1\r\nREMOTEPORT:" + std::to_string(freeTcpPort()));
    const auto other = startMonitor(unnamed, "tcp://127.0.0.1", "COMPORT:1\r\n");
    const auto said = [](const ProgramDir& dir, const std::string& text) {
        return dir.read("stderr.txt").find(text) != std::string::npos;
    };
    until([&] { return said(flooded, "bytes unasked") && said(unnamed, "port (tcp"); }, 100);
    EXPECT_TRUE(said(flooded, "COM1 (tcp://127.0.0.1:" + std::to_string(port) +
                                  "): more than 4096 bytes unasked"));
    EXPECT_TRUE(said(unnamed, "COM1 (tcp://127.0.0.1): not a terminal server's port"));
    for (const ProgramDir* dir : {&flooded, &unnamed}) {
        const auto month = *std::filesystem::directory_iterator(dir->path() / "SERLOGS");
        EXPECT_NE(dir->read("SERLOGS/" + month.path().filename().string()).find("Link lost COM1"),
                  std::string::npos);
    }
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);
}

// A black-out and its transfers while the simulator's line is cut come back after "Link
// restored" as lines 110, in order, once: a restart of the monitor adds none.
TEST(Station, EventsOfACutLineAreRecoveredOnceInOrder) {
    ProgramDir dir;
    dir.write("cut.scn", "3s cut on\n6s source1 blackout\n8s source1 restore\n16s cut off\n");
    const auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "cut.scn").string()});
    const std::string line = (dir.path() / "sts-line").string(),
                      config = "COMPORT:1\r\nTIMEOUT:500\r\n";
    const auto events = [&] {  // without the times
        std::string file;
        for (const auto& month : std::filesystem::directory_iterator(dir.path() / "SERLOGS"))
            file += dir.read("SERLOGS/" + month.path().filename().string());
        return std::regex_replace(file, std::regex("[-:0-9]{20} |[/0-9]{10}  [:0-9]{5}"), "");
    };
    const auto until = [&](const std::string& text, int seconds) {
        for (int i = 0; i < seconds * 10 && events().find(text) == std::string::npos; ++i)
            std::this_thread::sleep_for(100ms);
    };
    auto monitor = startMonitor(dir, line, config);
    until(" On source 1-", 60);
    const std::string recovered = events();
    const std::size_t restored = recovered.find(" 201 Link restored COM1\r\n");
    const std::size_t source2 = recovered.find(" 110  On source 2- Source1 BAD-");
    EXPECT_TRUE(restored < source2 && source2 < recovered.find(" 110  On source 1-")) << recovered;
    monitor->signal(SIGTERM);
    EXPECT_EQ(monitor->exitCode(10s), 0);
    monitor = startMonitor(dir, line, config);
    const auto lastRecordsRead = [&] {
        const auto sent = simulatorReceived(dir);
        return std::count(sent.begin(), sent.end(), "LOG127");
    };
    for (int i = 0; i < 600 && lastRecordsRead() < 2; ++i)  // the log read again after the start
        std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(500ms);  // its reply taken
    EXPECT_EQ(lastRecordsRead(), 2);
    EXPECT_EQ(events(), recovered + " 2 Program end\r\n 1 Program start\r\n");
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
                     "COMPORT:1\r\nTIMEOUT:500\r\nEMAILENABLE:1\r\nSNAME:Z\xFCrich $(id) \"B\"\r\n"
                     "SENDERADRES:sts@plant.example\r\nRECEIPADRES1:ops@plant.example\r\n"
                     "SMTPHOST:127.0.0.1:" +
                         std::to_string(sink.smtpPort) + "\r\nSUBJECT:\xC4\xB0\xC5\x9Fli\r\n");
    for (int i = 0; i < 200 && !std::filesystem::exists(inbox / "1.txt"); ++i)
        std::this_thread::sleep_for(100ms);
    const std::string mail = dir.read("inbox/1.txt");
    EXPECT_NE(mail.find("envelope-to: ops@plant.example"), std::string::npos) << mail;
    EXPECT_NE(mail.find("Subject: \xC4\xB0\xC5\x9Fli\n"), std::string::npos) << mail;
    EXPECT_NE(mail.find("Station : Z\xC3\xBCrich $(id) \"B\"<br>"), std::string::npos) << mail;
    EXPECT_NE(mail.find("<br>-S1 Black out-S1 BAD--Transfer inhibit"), std::string::npos) << mail;

    EXPECT_FALSE(std::filesystem::exists(inbox / "2.txt")) << "a steady status mails nothing more";
}

// A FIFO and a link to /dev/zero among the monitor's files: it starts, polls and says what it
// skipped. SIGHUP (a closed terminal, a service's reload) has it read its optional files again;
// SIGTERM still ends it cleanly. The simulator ends on SIGHUP as on SIGTERM, its link removed.
TEST(Station, OddFilesNeitherStopTheStartNorPollingAndSighupEndsNothing) {
    ProgramDir dir;
    const auto simulator = startSimulator(dir);
    const std::time_t now = std::time(nullptr), yesterday = now - 86400;
    char today[16], before[16], month[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::localtime(&now));
    std::strftime(before, sizeof before, "%Y-%m-%d", std::localtime(&yesterday));
    std::strftime(month, sizeof month, "%Y-%m", std::localtime(&now));
    const auto trends = dir.path() / "TRENDS", events = dir.path() / "SERLOGS" / month;
    std::filesystem::create_directory(trends);
    ASSERT_EQ(mkfifo((trends / (std::string(today) + ".csv")).c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", trends / (std::string(before) + ".csv"));
    ASSERT_EQ(mkfifo((events.string() + ".TXT").c_str(), 0600), 0);
    const auto monitor =
        startMonitor(dir, (dir.path() / "sts-line").string(),
                     "COMPORT:1\r\nTIMEOUT:500\r\nREMOTEPORT:" + std::to_string(freeTcpPort()));
    for (int i = 0; i < 100 && simulatorReceived(dir).size() < 14; ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_GE(simulatorReceived(dir).size(), 14u) << "two measurement cycles";
    EXPECT_NE(dir.read("stderr.txt").find(".csv skipped: not a regular file"), std::string::npos);

    std::filesystem::remove(events.string() + ".TXT");
    monitor->signal(SIGHUP);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(monitor->running());
    EXPECT_NE(dir.read("stderr.txt").find("SIGHUP: relay.cfg and mqtt.cfg read again"),
              std::string::npos);
    monitor->signal(SIGTERM);
    EXPECT_EQ(monitor->exitCode(5s), 0);
    EXPECT_TRUE(dir.read("SERLOGS/" + std::string(month) + ".TXT").ends_with(" Program end\r\n"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "treld.lock"));
    simulator->signal(SIGHUP);
    EXPECT_EQ(simulator->exitCode(5s), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "sts-line"));
}

// A full disk while alarms come and go, played by a file-size limit (unprivileged, and cut
// short the same way): the lines are kept, then arrive whole and in order once there is room.
TEST(Station, EventLinesOfAFullDiskArriveWholeAndInOrderOnceThereIsRoom) {
    ProgramDir dir;
    dir.write("fault.scn", "1s overload on\n2s overload off\n3s repeat\n");
    const auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "fault.scn").string()});
    const auto monitor =
        startMonitor(dir, (dir.path() / "sts-line").string(), "COMPORT:1\r\nTIMEOUT:500\r\n");
    const auto local = [](const char* format) {
        char text[32];
        const std::time_t now = std::time(nullptr);
        return std::string(text, std::strftime(text, sizeof text, format, std::localtime(&now)));
    };
    const std::string file = local("SERLOGS/%Y-%m.TXT");
    for (int i = 0; i < 100 && dir.read(file).empty(); ++i)
        std::this_thread::sleep_for(100ms);
    rlimit room{};
    ASSERT_EQ(prlimit(monitor->pid(), RLIMIT_FSIZE, nullptr, &room), 0);
    const rlimit full{dir.read(file).size() + 10, room.rlim_max};
    ASSERT_EQ(prlimit(monitor->pid(), RLIMIT_FSIZE, &full, nullptr), 0);
    const std::string from = local("%H:%M:%S");
    std::this_thread::sleep_for(8s);
    const std::string until = local("%H:%M:%S");
    ASSERT_EQ(prlimit(monitor->pid(), RLIMIT_FSIZE, &room, nullptr), 0);
    std::this_thread::sleep_for(2s);
    monitor->signal(SIGTERM);
    ASSERT_EQ(monitor->exitCode(5s), 0);

    const std::string text = dir.read(file);
    EXPECT_TRUE(text.ends_with(" Program end\r\n")) << text;
    std::istringstream lines(text);
    std::string last;
    int whileFull = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch at;  // whole, in order (a run across midnight would fail here)
        ASSERT_TRUE(std::regex_match(line, at, std::regex(R"( \d+ [-0-9]{12}(\S{8}) \S.*\r)")))
            << text;
        EXPECT_GE(at[1].str(), last) << text;
        last = at[1];
        whileFull += last >= from && last <= until;
    }
    EXPECT_GE(whileFull, 2) << "an overload every 3 s for 8 s\n" << text;
}
}  // namespace
}  // namespace treld::e2e
