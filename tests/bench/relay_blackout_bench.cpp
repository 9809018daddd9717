// Prints how long a black-out on the device takes to reach the PC event file
// while 15 hostile relay clients send bare CRs and commands as fast as they
// are answered, against the same run without clients; then what one client
// that streams after its request costs the monitor.
// Usage: relay_blackout_bench [blackout-second=8]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "e2e_support.h"

using namespace treld::e2e;
using namespace std::chrono_literals;

namespace {

constexpr int kHostileClients = 15;

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Sends one request after another, each on its own connection, until `stop`.
void hostileClient(int port, int index, const std::atomic<bool>& stop, std::atomic<long>& sent) {
    static constexpr std::array<std::string_view, 3> kRequests = {"\r", "SON\r", "XF2\r"};
    for (int n = index; !stop; ++n) {
        const int fd = connectTo(port);
        if (fd < 0)
            continue;
        const std::string_view request = kRequests[std::size_t(n) % kRequests.size()];
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[256];
        while (recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
        close(fd);
        ++sent;
    }
}

struct Run {
    double latencySeconds = -1;  // black-out to its PC event line; -1 when none came
    double pace = 0;             // exchanges per second the device saw meanwhile
    long requests = 0;
};

Run blackOutRun(int clients, int blackoutSecond) {
    ProgramDir dir;
    dir.write("blackout.scn", std::to_string(blackoutSecond) + "s source1 blackout\n");
    const int port = freeTcpPort();
    auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "blackout.scn").string()});
    const Clock::time_point blackoutAt = Clock::now() + std::chrono::seconds(blackoutSecond);
    auto monitor =
        startMonitor(dir, (dir.path() / "sts-line").string(),
                     "COMPORT:1\r\nTIMEOUT:1000\r\nREMOTEPORT:" + std::to_string(port) + "\r\n");
    std::this_thread::sleep_for(2s);
    std::atomic<bool> stop = false;
    std::atomic<long> sent = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back(hostileClient, port, i, std::cref(stop), std::ref(sent));
    const std::size_t polledBefore = simulatorReceived(dir).size();
    const Clock::time_point loadStart = Clock::now();
    Run run;
    while (run.latencySeconds < 0 && Clock::now() < blackoutAt + 30s) {
        std::this_thread::sleep_for(20ms);
        std::error_code error;
        for (const auto& file :
             std::filesystem::directory_iterator(dir.path() / "SERLOGS", error)) {
            const std::string text = dir.read("SERLOGS/" + file.path().filename().string());
            if (text.find("Black out") != std::string::npos)
                run.latencySeconds =
                    std::chrono::duration<double>(Clock::now() - blackoutAt).count();
        }
    }
    run.pace = double(simulatorReceived(dir).size() - polledBefore) /
               std::chrono::duration<double>(Clock::now() - loadStart).count();
    stop = true;
    for (std::thread& thread : threads)
        thread.join();
    run.requests = sent;
    return run;
}

// One client sends its request and then 64 KiB blocks until the monitor cuts it off.
void streamingRun() {
    ProgramDir dir;
    const int port = freeTcpPort();
    auto simulator = startSimulator(dir);
    auto monitor = startMonitor(dir, (dir.path() / "sts-line").string(),
                                "COMPORT:1\r\nREMOTEPORT:" + std::to_string(port) + "\r\n");
    std::this_thread::sleep_for(2s);
    const double cpuBefore = monitor->cpuSeconds();
    const int fd = connectTo(port);
    send(fd, "SOF\r", 4, MSG_NOSIGNAL);
    const std::vector<char> block(1 << 16, 'z');
    long pushed = 0;
    const Clock::time_point start = Clock::now();
    for (ssize_t n; Clock::now() - start < 10s &&
                    (n = send(fd, block.data(), block.size(), MSG_NOSIGNAL)) > 0;)
        pushed += n;
    close(fd);
    std::printf("streaming client: cut off after %.1f MiB in %.2f s; monitor CPU %.2f s\n",
                double(pushed) / (1 << 20),
                std::chrono::duration<double>(Clock::now() - start).count(),
                monitor->cpuSeconds() - cpuBefore);
}

}  // namespace

int main(int argc, char** argv) {
    const int blackoutSecond = argc > 1 ? std::max(4, std::atoi(argv[1])) : 8;
    const Run quiet = blackOutRun(0, blackoutSecond);
    const Run hostile = blackOutRun(kHostileClients, blackoutSecond);
    std::printf("black-out to PC event file   without clients   with %d hostile clients\n",
                kHostileClients);
    std::printf("  latency                    %8.2f s        %8.2f s   (ratio %.1f)\n",
                quiet.latencySeconds, hostile.latencySeconds,
                hostile.latencySeconds / quiet.latencySeconds);
    std::printf("  device exchanges/s         %8.1f          %8.1f\n", quiet.pace, hostile.pace);
    std::printf("  relay requests answered    %8ld          %8ld\n", quiet.requests,
                hostile.requests);
    streamingRun();
    return quiet.latencySeconds < 0 || hostile.latencySeconds < 0 ? 1 : 0;
}
