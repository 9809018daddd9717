// Load generator for a monitor's relay server: asks for one command per TCP
// connection, as fast as the server answers, and prints the answers per
// second and the median and 99th-percentile answer times.
//
//   relay_load <port> [seconds=20] [command=SRV] [clients=1]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Tally {
    std::vector<double> answerMs;
    long failures = 0;
};

// One exchange: connect, send, read up to the first CR. Returns false when
// the connection failed or closed before a CR came.
bool exchange(const sockaddr_in& server, const std::string& frame) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    bool answered = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 &&
        send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(frame.size())) {
        char buffer[256];
        ssize_t n;
        while (!answered && (n = recv(fd, buffer, sizeof buffer, 0)) > 0)
            answered = std::find(buffer, buffer + n, '\r') != buffer + n;
    }
    close(fd);
    return answered;
}

void run(const sockaddr_in& server, const std::string& frame, Clock::time_point end, Tally& tally) {
    while (Clock::now() < end) {
        const Clock::time_point start = Clock::now();
        if (exchange(server, frame)) {
            tally.answerMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        } else {
            ++tally.failures;
        }
    }
}

double percentile(std::vector<double>& sorted, double p) {
    if (sorted.empty())
        return 0;
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(p * sorted.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <port> [seconds=20] [command=SRV] [clients=1]\n", argv[0]);
        return 2;
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[1])));
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    const std::string frame = std::string(argc > 3 ? argv[3] : "SRV") + "\r";
    const int clients = std::max(1, argc > 4 ? std::atoi(argv[4]) : 1);

    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    std::vector<Tally> tallies(clients);
    std::vector<std::thread> threads;
    for (Tally& tally : tallies)
        threads.emplace_back([&] { run(server, frame, end, tally); });
    for (std::thread& thread : threads)
        thread.join();

    std::vector<double> all;
    long failures = 0;
    for (Tally& tally : tallies) {
        all.insert(all.end(), tally.answerMs.begin(), tally.answerMs.end());
        failures += tally.failures;
    }
    std::sort(all.begin(), all.end());
    std::printf("requests answered   %zu in %d s, %d client(s), %ld failed\n", all.size(), seconds,
                clients, failures);
    std::printf("answers per second  %.0f\n", static_cast<double>(all.size()) / seconds);
    std::printf("answer time median  %.3f ms\n", percentile(all, 0.50));
    std::printf("answer time p99     %.3f ms\n", percentile(all, 0.99));
    return all.empty() ? 1 : 0;
}
