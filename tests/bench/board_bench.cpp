// Prints how current the fleet board is: one monitor with BOARD:sts/+ and its
// web endpoint, a local mosquitto, and the topics of N stations published
// straight to the broker. Figures: the time until the board's stream shows
// every station, then for rounds of one event and one status per station
// published in a burst, the time from each publish to the first board on the
// stream that shows it (p50, p99, max), and the monitor's CPU.
// Usage: board_bench [stations=50] [rounds=10]
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

#include "broker.h"
#include "fleet/fleet_board.h"

using namespace treld::e2e;

namespace {

// The board's stream, every "data:" line with the time it arrived.
class StreamReader {
  public:
    explicit StreamReader(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
        if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            std::perror("stream");
        const std::string request = "GET /api/v1/fleet/stream HTTP/1.1\r\nHost: x\r\n\r\n";
        send(fd_, request.data(), request.size(), 0);
        thread_ = std::thread([this] { read(); });
    }
    ~StreamReader() {
        shutdown(fd_, SHUT_RDWR);
        thread_.join();
        close(fd_);
    }
    // When `text` first appeared on the stream at or after `from`.
    std::optional<Clock::time_point> seen(const std::string& text, Clock::time_point from) {
        const std::lock_guard lock(mutex_);
        for (const auto& [at, data] : boards_)
            if (at >= from && data.find(text) != std::string::npos)
                return at;
        return std::nullopt;
    }
    std::size_t bytes() {
        const std::lock_guard lock(mutex_);
        return bytes_;
    }

  private:
    void read() {
        std::string pending;
        char buffer[65536];
        for (ssize_t n; (n = recv(fd_, buffer, sizeof buffer, 0)) > 0;) {
            const Clock::time_point now = Clock::now();
            pending.append(buffer, std::size_t(n));
            const std::lock_guard lock(mutex_);
            bytes_ += std::size_t(n);
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                if (pending.starts_with("data: {"))
                    boards_.emplace_back(now, pending.substr(6, end - 6));
                pending.erase(0, end + 1);
            }
        }
    }

    int fd_;
    std::mutex mutex_;
    std::vector<std::pair<Clock::time_point, std::string>> boards_;
    std::size_t bytes_ = 0;
    std::thread thread_;
};

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int stations = argc > 1 ? std::atoi(argv[1]) : 50;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    ProgramDir dir;
    Broker broker(dir);
    const int web = freeTcpPort();
    dir.write("mqtt.cfg", "HOST:127.0.0.1\nPORT:" + std::to_string(broker.port()) +
                              "\nMETRICS:" + std::to_string(web) + "\nBOARD:sts/+\n");
    const auto simulator = startSimulator(dir);
    const auto monitor = startMonitor(
        dir, (dir.path() / "sts-line").string(),
        "COMPORT:1\r\nSNAME:board\r\nREMOTEPORT:" + std::to_string(freeTcpPort()) + "\r\n");
    std::this_thread::sleep_for(2s);

    mosquitto_lib_init();
    mosquitto* publisher = mosquitto_new("bench", true, nullptr);
    mosquitto_connect(publisher, "127.0.0.1", broker.port(), 10);
    mosquitto_loop_start(publisher);
    auto publish = [&](const std::string& topic, const std::string& payload, bool retain) {
        mosquitto_publish(publisher, nullptr, topic.c_str(), int(payload.size()), payload.data(), 1,
                          retain);
    };
    auto status = [](int i, bool alarm) {
        return R"({"station":"bench-)" + std::to_string(i) +
               R"(","link":{"kind":"serial","peer":"COM1","up":true},"transfer":{"source":1},)"
               R"("alarms":{"s1_blackout":)" +
               (alarm ? "true" : "false") + "}}";
    };

    StreamReader stream(web);
    const Clock::time_point fillStart = Clock::now();
    for (int i = 0; i < stations; ++i) {
        publish("sts/bench-" + std::to_string(i) + "/online", "online", true);
        publish("sts/bench-" + std::to_string(i) + "/status", status(i, false), true);
    }
    const std::string last = R"("name":"bench-)" + std::to_string(stations - 1) + "\"";
    std::optional<Clock::time_point> filled;
    for (int i = 0; i < 100 && !(filled = stream.seen(last, fillStart)); ++i)
        std::this_thread::sleep_for(50ms);
    std::printf("%d stations published: all on the board's stream after %.0f ms\n", stations,
                filled ? ms(*filled - fillStart) : -1.0);

    const double cpu = monitor->cpuSeconds();
    const Clock::time_point roundsStart = Clock::now();
    std::vector<double> latencies;
    int missing = 0;
    for (int r = 0; r < rounds; ++r) {
        std::vector<std::pair<std::string, Clock::time_point>> marks;
        for (int i = 0; i < stations; ++i) {
            const std::string mark = "m" + std::to_string(r) + "-" + std::to_string(i);
            marks.emplace_back("\"text\":\"" + mark + "\"", Clock::now());
            publish("sts/bench-" + std::to_string(i) + "/event",
                    R"({"code":100,"time":"2026-12-07T23:00:00+01:00","text":")" + mark + "\"}",
                    false);
            // A status that turns the tile red in odd rounds and green in even ones.
            publish("sts/bench-" + std::to_string(i) + "/status", status(i, r % 2 == 0), true);
        }
        std::this_thread::sleep_for(2500ms);
        for (const auto& [mark, at] : marks) {
            const auto shown = stream.seen(mark, at);
            shown ? latencies.push_back(ms(*shown - at)) : void(++missing);
        }
    }
    const double seconds = ms(Clock::now() - roundsStart) / 1000;
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        return latencies.empty() ? -1.0 : latencies[std::size_t(q * double(latencies.size() - 1))];
    };
    std::printf(
        "%d rounds of %d events and %d statuses: publish to stream p50 %.0f ms, "
        "p99 %.0f ms, max %.0f ms; %d not shown within 2.5 s\n",
        rounds, stations, stations, at(0.5), at(0.99), at(1.0), missing);
    std::printf("monitor CPU %.2f s in %.1f s; stream %.1f KiB/s\n", monitor->cpuSeconds() - cpu,
                seconds, double(stream.bytes()) / 1024 / seconds);

    // A flood: topics of 5 times the board's bound of stations, half of them 16 KiB,
    // while the poll goes on. Its pace is the simulator's commands per second.
    auto pace = [&](std::chrono::seconds span) {
        const std::size_t before = simulatorReceived(dir).size();
        std::this_thread::sleep_for(span);
        return double(simulatorReceived(dir).size() - before) / double(span.count());
    };
    const double quiet = pace(3s);
    const double floodCpu = monitor->cpuSeconds();
    const std::string big = "{\"x\":\"" + std::string(16 * 1024 - 10, 'x') + "\"}";
    std::thread flood([&] {
        for (int i = 0; i < 5 * int(treld::kBoardStations); ++i)
            publish("sts/flood-" + std::to_string(i) + "/status", i % 2 ? big : status(i, true),
                    false);
    });
    const double flooded = pace(3s);
    flood.join();
    std::this_thread::sleep_for(2s);
    std::printf(
        "flood of %d messages (half of them 16 KiB): poll %.1f commands/s against %.1f "
        "before, monitor CPU %.2f s, peak RSS %ld KiB; board note: %s\n",
        5 * int(treld::kBoardStations), flooded, quiet, monitor->cpuSeconds() - floodCpu,
        monitor->peakResidentKiB(),
        stream.seen("Board full", roundsStart) ? "board full said" : "none");
    mosquitto_loop_stop(publisher, true);
    mosquitto_destroy(publisher);
    mosquitto_lib_cleanup();
    return missing == 0 ? 0 : 1;
}
