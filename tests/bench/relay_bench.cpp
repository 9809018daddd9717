// Prints how fast the real treld's relay server hands out cached poll
// replies to clients that open a connection per request, and how its own
// poll pace against the real sts-sim holds up meanwhile.
// Usage: relay_bench [seconds=20] [clients=1]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "e2e_support.h"

using namespace treld::e2e;
using namespace std::chrono_literals;

namespace {

// The commands the simulator has received so far, from its trace.
long commandsReceived(const std::filesystem::path& trace) {
    std::ifstream in(trace);
    long count = 0;
    std::string line;
    while (std::getline(in, line))
        count += line.find(" RX ") != std::string::npos;
    return count;
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port free now, below 32768: the monitor keeps its port as a signed 16-bit number.
int freePort() {
    for (int port = 20000 + getpid() % 10000; port < 32768; ++port) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = loopback(port);
        const bool free =
            bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        if (free)
            return port;
    }
    return 0;
}

// One request on its own connection: the text up to the first CR, or "" on failure.
std::string exchange(const sockaddr_in& server) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::string received;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 &&
        send(fd, "SRV\r", 4, MSG_NOSIGNAL) == 4) {
        char buffer[256];
        ssize_t n;
        while (received.find('\r') == std::string::npos &&
               (n = recv(fd, buffer, sizeof buffer, 0)) > 0)
            received.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return received.substr(0, received.find('\r'));
}

struct Load {
    std::vector<double> answerMs;
    long notCached = 0;  // failures and "Time out" answers
};

void runLoad(const sockaddr_in& server, Clock::time_point end, Load& load) {
    while (Clock::now() < end) {
        const Clock::time_point start = Clock::now();
        const std::string reply = exchange(server);
        if (!reply.starts_with("#")) {
            ++load.notCached;
            continue;
        }
        load.answerMs.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
}

double percentile(const std::vector<double>& sorted, double p) {
    return sorted.empty() ? 0 : sorted[std::min(sorted.size() - 1, std::size_t(p * sorted.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    const int clients = std::max(1, argc > 2 ? std::atoi(argv[2]) : 1);

    ProgramDir dir;
    dir.install("treld");
    dir.install("sts-sim");
    const int port = freePort();
    dir.write("sts.cfg",
              "COMPORT:1\r\nTIMEOUT:1000\r\nREMOTEPORT:" + std::to_string(port) + "\r\n");
    dir.write("DEMOSET.CFG", "SRV:-\r\nOPL:-\r\nSST:-\r\nSAS:-\r\nFIR:-\r\nCLK:-\r\nDAT:-\r\n");
    const std::filesystem::path line = dir.path() / "sts-line";
    const std::filesystem::path trace = dir.path() / "trace.txt";
    Process simulator(dir.path() / "sts-sim", {"--link", line.string(), "--trace", trace.string()});
    for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i)
        std::this_thread::sleep_for(20ms);
    Process monitor(dir.path() / "treld", {},
                    {{"QT_QPA_PLATFORM", "offscreen"}, {"TRELD_COM1", line.string()}});
    auto pace = [&](std::chrono::seconds window) {
        const long before = commandsReceived(trace);
        std::this_thread::sleep_for(window);
        return double(commandsReceived(trace) - before) / double(window.count());
    };

    std::this_thread::sleep_for(2s);  // the first poll cycles fill the cache
    const double unloadedPace = pace(std::chrono::seconds(std::max(1, seconds / 2)));

    const sockaddr_in server = loopback(port);
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    std::vector<Load> loads(clients);
    std::vector<std::thread> threads;
    const long before = commandsReceived(trace);
    for (Load& load : loads)
        threads.emplace_back([&] { runLoad(server, end, load); });
    for (std::thread& thread : threads)
        thread.join();
    const double loadedPace = double(commandsReceived(trace) - before) / seconds;

    std::vector<double> all;
    long notCached = 0;
    for (const Load& load : loads) {
        all.insert(all.end(), load.answerMs.begin(), load.answerMs.end());
        notCached += load.notCached;
    }
    std::sort(all.begin(), all.end());
    std::printf("relay server, %d client(s), a connection per request, %d s\n", clients, seconds);
    std::printf("  cached answers per second   %9.0f   (%zu answers, %ld not cached or failed)\n",
                double(all.size()) / seconds, all.size(), notCached);
    std::printf("  answer time median          %9.3f ms\n", percentile(all, 0.50));
    std::printf("  answer time p99             %9.3f ms\n", percentile(all, 0.99));
    std::printf("  poll pace without load      %9.1f exchanges/s\n", unloadedPace);
    std::printf("  poll pace under load        %9.1f exchanges/s\n", loadedPace);
    std::printf("  monitor CPU                 %9.1f s, peak memory %.1f MiB\n",
                monitor.cpuSeconds(), monitor.peakResidentKiB() / 1024.0);
    return all.empty() ? 1 : 0;
}
