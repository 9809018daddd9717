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

    ProgramDir dir;
    std::optional<Process> simulator;
    std::optional<Process> monitor;
};

TEST_F(AgainstSimulator, SilentSimulatorSlowsThePollingToTheTimeOutRhythm) {
    start("1s silent on\n");
    std::this_thread::sleep_for(10s);
    std::vector<ReceivedCommand> silent;
    for (const ReceivedCommand& command : simulatorReceived(dir.path() / "trace.txt")) {
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
