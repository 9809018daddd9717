// The real treld against the real sts-sim on a pseudo-terminal, read back
// from the simulator's trace of what crossed the line.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

struct TraceLine {
    long atMs;
    std::string direction;  // RX: received by the device, TX: sent by it
    std::string text;
};

std::vector<TraceLine> readTrace(const std::filesystem::path& file) {
    std::vector<TraceLine> lines;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        TraceLine entry;
        fields >> entry.atMs >> entry.direction;
        std::getline(fields >> std::ws, entry.text);
        lines.push_back(entry);
    }
    return lines;
}

std::vector<TraceLine> received(const std::vector<TraceLine>& trace) {
    std::vector<TraceLine> commands;
    for (const TraceLine& line : trace) {
        if (line.direction == "RX")
            commands.push_back(line);
    }
    return commands;
}

class AgainstSimulator : public ::testing::Test {
  protected:
    void start(const std::string& scenario) {
        dir.install("treld");
        dir.install("sts-sim");
        dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:500\r\n");
        dir.write("test.scn", scenario);
        const std::string line = (dir.path() / "sts-line").string();
        simulator.emplace(
            dir.path() / "sts-sim",
            std::vector<std::string>{"--link", line, "--trace", (dir.path() / "trace.txt").string(),
                                     "--scenario", (dir.path() / "test.scn").string()});
        for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i) {
            std::this_thread::sleep_for(20ms);
        }
        monitor.emplace(dir.path() / "treld", std::vector<std::string>{},
                        std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                                           {"TRELD_COM1", line}});
    }
    std::vector<TraceLine> trace() { return readTrace(dir.path() / "trace.txt"); }

    ProgramDir dir;
    std::optional<Process> simulator;
    std::optional<Process> monitor;
};

TEST_F(AgainstSimulator, MonitorWalksTheMeasurementCycleAndAsksAgainAfterEachReply) {
    start("");
    std::this_thread::sleep_for(3s);
    const std::vector<TraceLine> all = trace();
    const std::vector<TraceLine> commands = received(all);
    ASSERT_GE(commands.size(), 14u);
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    for (std::size_t i = 0; i < 14; ++i)
        EXPECT_EQ(commands[i].text, cycle[i % 7]) << i;
    // Every command is answered and the next one follows its answer: no time-out pauses.
    for (std::size_t i = 1; i < 14; ++i) {
        EXPECT_LT(commands[i].atMs - commands[i - 1].atMs, 500) << commands[i].text;
    }
    EXPECT_TRUE(monitor->running());
}

TEST_F(AgainstSimulator, SilentSimulatorSlowsThePollingToTheTimeOutRhythm) {
    start("1s silent on\n");
    std::this_thread::sleep_for(10s);
    std::vector<TraceLine> silent;
    for (const TraceLine& command : received(trace())) {
        if (command.atMs > 1000)
            silent.push_back(command);
    }
    ASSERT_GE(silent.size(), 3u);
    for (std::size_t i = 2; i < silent.size(); ++i) {
        const long gap = silent[i].atMs - silent[i - 1].atMs;
        EXPECT_GE(gap, 3400) << silent[i].text;
        EXPECT_NE(silent[i].text, silent[i - 1].text) << "SRV and OPL alternate";
    }
}

}  // namespace
}  // namespace treld::e2e
