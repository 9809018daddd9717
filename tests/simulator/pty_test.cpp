// Runs the sts-sim program on a pseudo-terminal; tests/e2e/ talks to it at length.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string askOnce(const std::string& line, const char* command) {
    const int fd = open(line.c_str(), O_RDWR | O_NOCTTY);
    EXPECT_GE(fd, 0) << line;
    EXPECT_EQ(write(fd, command, 4), 4);
    std::string reply;
    pollfd p{fd, POLLIN, 0};
    char buffer[64];
    while (reply.find('\r') == std::string::npos && poll(&p, 1, 2000) > 0) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        reply.append(buffer, n > 0 ? std::size_t(n) : 0);
    }
    close(fd);
    return reply;
}

TEST(SimulatorProgram, AnswersEachOpenerAndRemovesItsLinkAtExitOrRefusesABrokenScenario) {
    char pattern[] = "/tmp/sts-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern, link = dir + "/tty";
    std::ofstream(dir + "/bad.scn") << "2s source9 restore\n";  // parse errors: scenario_test
    const std::string broken = std::string(STS_SIM_PROGRAM) + " --scenario " + dir + "/bad.scn";
    EXPECT_EQ(WEXITSTATUS(std::system((broken + " 2>/dev/null").c_str())), 2);

    std::string args[] = {STS_SIM_PROGRAM, "--link", link, "--scenario",
                          STS_SIM_SCENARIO_DIR "/demo.scn"};  // the shipped scenario is valid
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(),
                    args[3].data(), args[4].data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
    for (int i = 0; i < 100 && !fs::exists(link); ++i)
        usleep(20'000);
    EXPECT_EQ(askOnce(link, "SRV\r").size(), 35u);
    EXPECT_EQ(askOnce(link, "OPL\r").size(), 33u);  // a second opener is answered too
    int status = -1;
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    fs::remove_all(dir);
}

}  // namespace
