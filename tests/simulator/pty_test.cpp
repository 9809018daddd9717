// Runs the sts-sim program on a pseudo-terminal and talks to it as the monitor would.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Reads until a CR arrives or the time runs out.
std::string readReply(int fd, int timeoutMs) {
    std::string reply;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (reply.find('\r') == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) > 0 && (p.revents & POLLIN) != 0) {
            char buffer[128];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                reply.append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    return reply;
}

class SimulatorProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/sts-sim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        fs::remove_all(dir_);
    }

    // Starts the program with its stdout in a file; returns its first line.
    std::string start(std::vector<std::string> extra) {
        const std::string out = dir_ + "/out.txt";
        std::vector<std::string> args = {STS_SIM_PROGRAM, "--link", dir_ + "/tty", "--trace",
                                         dir_ + "/trace.txt"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0600);
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        std::string line;
        for (int i = 0; i < 100 && line.empty(); ++i) {
            usleep(20'000);
            std::ifstream in(out);
            std::getline(in, line);
        }
        return line;
    }

    int stop() {
        int status = -1;
        kill(pid_, SIGTERM);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

    std::string dir_;
    pid_t pid_ = -1;
};

TEST_F(SimulatorProgram, AnswersOnThePtyAndAcceptsANewOpener) {
    const std::string first = start({});
    ASSERT_EQ(first.rfind("pty /dev/", 0), 0u) << first;
    const std::string link = dir_ + "/tty";
    ASSERT_EQ(fs::read_symlink(link).string(), first.substr(4));

    for (int round = 0; round < 2; ++round) {
        const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, "SRV\r", 4), 4);
        const std::string reply = readReply(fd, 2000);
        EXPECT_EQ(reply.size(), 35u) << reply;
        EXPECT_EQ(reply.substr(0, 1), "#");
        close(fd);
    }
    const int status = stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

    std::ifstream trace(dir_ + "/trace.txt");
    std::string rx, tx;
    std::getline(trace, rx);
    std::getline(trace, tx);
    EXPECT_NE(rx.find(" RX SRV"), std::string::npos) << rx;
    EXPECT_NE(tx.find(" TX #"), std::string::npos) << tx;
    EXPECT_EQ(tx.substr(tx.size() - 2), "\\r");
}

TEST_F(SimulatorProgram, SilentDeviceSendsNothing) {
    ASSERT_EQ(start({"--silent"}).rfind("pty ", 0), 0u);
    const int fd = open((dir_ + "/tty").c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "SAS\r", 4), 4);
    EXPECT_EQ(readReply(fd, 400), "");
    close(fd);
}

TEST_F(SimulatorProgram, ScenarioRunsFromTheProgramStart) {
    const std::string scenario = dir_ + "/fault.scn";
    std::ofstream(scenario) << "200ms source1 blackout\n";
    ASSERT_EQ(start({"--scenario", scenario}).rfind("pty ", 0), 0u);
    usleep(400'000);
    const int fd = open((dir_ + "/tty").c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "SRV\r", 4), 4);
    EXPECT_EQ(readReply(fd, 2000).substr(0, 12), "#000 000 000");
    close(fd);
}

TEST_F(SimulatorProgram, BrokenScenarioStopsTheStartWithItsLine) {
    const std::string scenario = dir_ + "/bad.scn";
    std::ofstream(scenario) << "1s source1 blackout\n2s source9 restore\n";
    const std::string command =
        std::string(STS_SIM_PROGRAM) + " --scenario " + scenario + " 2>" + dir_ + "/err.txt";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream err(dir_ + "/err.txt");
    std::string message;
    std::getline(err, message);
    EXPECT_NE(message.find("line 2: unknown subject 'source9'"), std::string::npos) << message;
}

}  // namespace
