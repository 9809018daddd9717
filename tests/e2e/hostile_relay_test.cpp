// Hostile clients of the relay server of a real treld in local mode with a
// device on its line: polling goes on at its pace, memory stays bounded, and
// every well-formed request is answered or its connection closed.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

constexpr long kPeakResidentLimitKiB = 200 * 1024;

class Connection {
  public:
    explicit Connection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Connection() { close(fd_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool connected() const { return connected_; }
    // Sends all of `text`; false when the server is gone or stops reading.
    bool send(std::string_view text) {
        while (!text.empty()) {
            pollfd ready{fd_, POLLOUT, 0};
            if (poll(&ready, 1, 5000) <= 0)
                return false;
            const ssize_t n = ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            text.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    void halfClose() { shutdown(fd_, SHUT_WR); }

    enum class Outcome { Answered, Closed, Hung };
    // Waits for an answer up to its CR or for the server to close.
    Outcome await(Clock::time_point deadline, std::string* answer = nullptr) {
        std::string received;
        while (true) {
            if (received.find('\r') != std::string::npos) {
                if (answer != nullptr)
                    *answer = received.substr(0, received.find('\r'));
                return Outcome::Answered;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
                return Outcome::Hung;
            char buffer[4096];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0)
                return Outcome::Closed;
            received.append(buffer, static_cast<std::size_t>(n));
        }
    }

  private:
    int fd_;
    bool connected_ = false;
};

struct Tally {
    int answered = 0;
    int closed = 0;
    int hung = 0;
    void add(Connection::Outcome outcome) {
        switch (outcome) {
            case Connection::Outcome::Answered:
                ++answered;
                break;
            case Connection::Outcome::Closed:
                ++closed;
                break;
            case Connection::Outcome::Hung:
                ++hung;
                break;
        }
    }
};

// Opens `count` connections at once, each sending `request`, and tallies
// how each ends by `wait` from now.
void requestRound(int port, int count, const char* request, std::chrono::seconds wait,
                  Tally& tally) {
    std::vector<std::unique_ptr<Connection>> connections;
    for (int i = 0; i < count; ++i) {
        connections.push_back(std::make_unique<Connection>(port));
        connections.back()->send(request);
    }
    const auto deadline = Clock::now() + wait;
    for (auto& connection : connections)
        tally.add(connection->await(deadline));
}

class HostileRelay : public ::testing::Test {
  protected:
    void SetUp() override {
        port = freeTcpPort();
        // The poll commands are answered from the relay cache, others forwarded.
        dir.write("DEMOSET.CFG",
                  "SRV:#230 231 229 228 230 232 0500 0499\r\n"
                  "OPL:#045 050 055 010 011 012 035 002\r\n"
                  "SST:#000\r\nSAS:#00000000 00000000 00000000 00000000 00000\r\n"
                  "FIR:STS V2.07\r\nCLK:#14:05:10\r\nDAT:#05/12/26\r\n");
        DeviceLine& device = line;
        monitor = startMonitor(
            dir, device, "COMPORT:1\r\nREMOTEPORT:" + std::to_string(port) + "\r\nTIMEOUT:500\r\n");
        player = std::make_unique<DevicePlayer>(line, [](const std::string& command) {
            return command == "XF1" ? std::string("OK\r") : healthyDeviceReply(command);
        });
        // The cycle has run once, so the cache holds an SRV reply.
        std::this_thread::sleep_for(1500ms);
        const auto from = Clock::now();
        std::this_thread::sleep_for(2s);
        pollsPerSecondBefore = player->pollCommandsBetween(from, Clock::now()) / 2.0;
        ASSERT_GT(pollsPerSecondBefore, 5.0) << "the device is not being polled";
    }

    // Runs `attack`, then checks the poll pace during it, memory, and that a
    // well-formed request afterwards is still answered.
    void underAttack(const std::string& name, const std::function<void()>& attack) {
        const auto from = Clock::now();
        attack();
        const auto to = Clock::now();
        const double seconds = std::chrono::duration<double>(to - from).count();
        const double pace = player->pollCommandsBetween(from, to) / std::max(seconds, 0.001);
        std::printf("%s: %.1f s, polls/s %.1f before, %.1f during, peak RSS %ld KiB\n",
                    name.c_str(), seconds, pollsPerSecondBefore, pace, monitor->peakResidentKiB());
        ASSERT_TRUE(monitor->running());
        EXPECT_LT(monitor->peakResidentKiB(), kPeakResidentLimitKiB);
        if (seconds > 1.0) {
            EXPECT_GT(pace, pollsPerSecondBefore / 3) << "polling slowed under " << name;
        }
        Connection probe(port);
        ASSERT_TRUE(probe.connected());
        ASSERT_TRUE(probe.send("SRV\r"));
        std::string answer;
        EXPECT_EQ(probe.await(Clock::now() + 5s, &answer), Connection::Outcome::Answered);
        EXPECT_TRUE(answer.starts_with("#")) << answer;
    }

    ProgramDir dir;
    DeviceLine line;
    int port = 0;
    std::unique_ptr<Process> monitor;
    std::unique_ptr<DevicePlayer> player;
    double pollsPerSecondBefore = 0;
};

TEST_F(HostileRelay, ConnectionsInBurstsAreEachAnsweredOrClosed) {
    // 1,000 connections in the default run, 10,000 in the long one.
    const int bursts = normalOrLong(10, 100);
    constexpr int kBurst = 100;
    Tally tally;
    underAttack("connection bursts", [&] {
        for (int burst = 0; burst < bursts && tally.hung == 0; ++burst)
            requestRound(port, kBurst, "SRV\r", 5s, tally);
    });
    std::printf("%d connections: %d answered, %d closed, %d hung\n", bursts * kBurst,
                tally.answered, tally.closed, tally.hung);
    EXPECT_EQ(tally.hung, 0);
    EXPECT_GT(tally.answered, 0);
}

TEST_F(HostileRelay, SilentClientsHoldNothingUp) {
    underAttack("silent clients", [&] {
        std::vector<std::unique_ptr<Connection>> silent;
        for (int i = 0; i < 200; ++i)
            silent.push_back(std::make_unique<Connection>(port));
        std::this_thread::sleep_for(normalOrLong(3s, 30s));
    });
}

TEST_F(HostileRelay, OneMegabyteWithoutACrIsDroppedWithoutHarm) {
    underAttack("1 MB without CR", [&] {
        Connection flood(port);
        const std::string block(64 * 1024, 'S');
        for (int sent = 0; sent < (1 << 20) && flood.send(block); sent += int(block.size())) {
        }
        std::this_thread::sleep_for(2s);
    });
    // Nothing of the flood reached the device as one long command.
    for (const auto& command : player->commands())
        EXPECT_LE(command.text.size(), 4096u);
}

TEST_F(HostileRelay, BinaryJunkIsAnsweredOrClosedAndHarmsNothing) {
    Tally tally;
    underAttack("binary junk", [&] {
        std::mt19937 random(11);
        for (int client = 0; client < normalOrLong(50, 1000); ++client) {
            std::string junk(1024, '\0');
            for (char& byte : junk)
                byte = static_cast<char>(random());
            Connection connection(port);
            connection.send(junk);
            tally.add(connection.await(Clock::now() + 1s));
        }
    });
    std::printf("binary junk: %d answered, %d closed, %d left open\n", tally.answered, tally.closed,
                tally.hung);
}

TEST_F(HostileRelay, HalfClosedRequestsAreAnsweredOrClosed) {
    Tally tally;
    underAttack("half-closed sockets", [&] {
        for (int client = 0; client < normalOrLong(50, 500); ++client) {
            Connection connection(port);
            connection.send("SRV\r");
            connection.halfClose();
            tally.add(connection.await(Clock::now() + 5s));
            if (tally.hung > 0)
                break;
            Connection mute(port);
            mute.halfClose();
        }
    });
    std::printf("half-closed: %d answered, %d closed, %d hung\n", tally.answered, tally.closed,
                tally.hung);
    EXPECT_EQ(tally.hung, 0);
}

TEST_F(HostileRelay, FloodOfForwardedCommandsIsAnsweredOrClosedAndPollingGoesOn) {
    Tally tally;
    underAttack("forwarded command flood", [&] {
        const auto end = Clock::now() + normalOrLong(5s, 60s);
        while (Clock::now() < end && tally.hung == 0)
            requestRound(port, 20, "XF1\r", 8s, tally);
    });
    std::printf("forwarded flood: %d answered, %d closed, %d hung\n", tally.answered, tally.closed,
                tally.hung);
    EXPECT_EQ(tally.hung, 0);
    EXPECT_GT(tally.answered, 0);
}

}  // namespace
}  // namespace treld::e2e
