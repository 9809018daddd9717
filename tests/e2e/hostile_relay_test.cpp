// Hostile clients of the relay server of a real treld in local mode with the
// simulator on its line: polling goes on at its pace, memory stays bounded,
// and every well-formed request is answered or its connection closed.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

class Connection {
  public:
    explicit Connection(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~Connection() { close(fd_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Sends all of `text`; false when the server is gone or stops reading.
    bool send(std::string_view text) {
        for (pollfd ready{fd_, POLLOUT, 0}; !text.empty();) {
            const ssize_t n = poll(&ready, 1, 5000) <= 0
                                  ? -1
                                  : ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            text.remove_prefix(std::size_t(n));
        }
        return true;
    }
    void halfClose() { shutdown(fd_, SHUT_WR); }

    enum Outcome { Answered, Closed, Hung };
    // Waits for an answer up to its CR or for the server to close.
    Outcome await(Clock::time_point deadline, std::string* answer = nullptr) {
        std::string received;
        while (received.find('\r') == std::string::npos) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0)
                return Hung;
            char buffer[4096];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0)
                return Closed;
            received.append(buffer, std::size_t(n));
        }
        if (answer != nullptr)
            *answer = received.substr(0, received.find('\r'));
        return Answered;
    }

  private:
    int fd_ = socket(AF_INET, SOCK_STREAM, 0);
};

using Tally = std::array<int, 3>;  // by Outcome

// Opens `count` connections at once, each sending `request`, and tallies how
// each ends by `wait` from now.
void requestRound(int port, int count, const char* request, std::chrono::seconds wait,
                  Tally& tally) {
    std::vector<std::unique_ptr<Connection>> connections;
    for (int i = 0; i < count; ++i) {
        connections.push_back(std::make_unique<Connection>(port));
        connections.back()->send(request);
    }
    for (auto& connection : connections)
        ++tally[connection->await(Clock::now() + wait)];
}

TEST(HostileRelay, BurstsSilenceFloodsAndHalfClosesHarmNeitherPollingNorLaterClients) {
    ProgramDir dir;
    const int port = freeTcpPort();
    dir.write("DEMOSET.CFG", "SRV:-\r\nOPL:-\r\nSST:-\r\nSAS:-\r\nFIR:-\r\nCLK:-\r\nDAT:-\r\n");
    const auto simulator = startSimulator(dir);
    const auto monitor =
        startMonitor(dir, (dir.path() / "sts-line").string(),
                     "COMPORT:1\r\nREMOTEPORT:" + std::to_string(port) + "\r\nTIMEOUT:500\r\n");
    auto pollsSoFar = [&] {
        return std::ranges::count_if(simulatorReceived(dir), [](const auto& command) {
            return command.second.size() == 3 && command.second != "XF1";
        });
    };
    std::this_thread::sleep_for(1500ms);  // the cycle has run: the cache holds replies
    const auto unloaded = pollsSoFar();
    std::this_thread::sleep_for(2s);
    const double pollsPerSecond = double(pollsSoFar() - unloaded) / 2;
    ASSERT_GT(pollsPerSecond, 5.0) << "the device is not being polled";

    Tally tally{};
    const std::pair<const char*, std::function<void()>> attacks[] = {
        {"1,000 connections in bursts (10,000 long)",
         [&] {
             for (int burst = 0; burst < normalOrLong(10, 100); ++burst)
                 requestRound(port, 100, "SRV\r", 5s, tally);
         }},
        {"200 silent clients",
         [&] {
             std::vector<std::unique_ptr<Connection>> silent;
             for (int i = 0; i < 200; ++i)
                 silent.push_back(std::make_unique<Connection>(port));
             std::this_thread::sleep_for(normalOrLong(3s, 30s));
         }},
        {"1 MB without CR",
         [&] {
             Connection flood(port);
             const std::string block(64 * 1024, 'S');
             for (int sent = 0; sent < (1 << 20) && flood.send(block); sent += int(block.size())) {
             }
             std::this_thread::sleep_for(2s);
         }},
        {"half-closed sockets",
         [&] {
             for (int client = 0; client < normalOrLong(50, 500); ++client) {
                 Connection connection(port);
                 connection.send("SRV\r");
                 connection.halfClose();
                 ++tally[connection.await(Clock::now() + 5s)];
                 Connection(port).halfClose();
             }
         }},
        {"forwarded commands",
         [&] {
             for (const auto end = Clock::now() + normalOrLong(5s, 60s); Clock::now() < end;)
                 requestRound(port, 20, "XF1\r", 8s, tally);
         }},
    };
    for (const auto& [name, attack] : attacks) {
        const auto from = Clock::now();
        const auto pollsBefore = pollsSoFar();
        attack();
        const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
        const double pace = double(pollsSoFar() - pollsBefore) / seconds;
        std::printf(
            "%s: %.1f s, polls/s %.1f before, %.1f during, peak RSS %ld KiB; "
            "%d answered, %d closed, %d hung\n",
            name, seconds, pollsPerSecond, pace, monitor->peakResidentKiB(),
            tally[Connection::Answered], tally[Connection::Closed], tally[Connection::Hung]);
        ASSERT_TRUE(monitor->running()) << name;
        EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024) << name;
        EXPECT_GT(pace, pollsPerSecond / 3) << "polling slowed under " << name;
        EXPECT_EQ(tally[Connection::Hung], 0) << name;
        Connection probe(port);
        std::string answer;
        ASSERT_TRUE(probe.send("SRV\r"));
        EXPECT_EQ(probe.await(Clock::now() + 5s, &answer), Connection::Answered) << name;
        EXPECT_TRUE(answer.starts_with("#")) << name << ": " << answer;
    }
    EXPECT_GT(tally[Connection::Answered], 0);
}

}  // namespace
}  // namespace treld::e2e
