// Prints what many stations at wire pace cost one host, beside the goals: one sts-sim plays N
// switches at 2400 baud (on pseudo-terminals, then on TCP ports as terminal servers would
// offer them), and N headless monitors, each in its own folder, publish to one mosquitto.
// Figures: CPU of all monitors, memory per station, each station's poll pace against a lone
// station's, black-out to event on the broker. A lone station runs first on each transport.
// Usage: host_bench [stations=100] [seconds=60]
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "broker.h"
#include "timed_messages.h"

using namespace treld::e2e;
using namespace treld::bench;
using namespace std::chrono_literals;

namespace {

// How a station runs without a display: the headless station, without widgets.
const std::vector<std::string> kStationArguments{"--headless"};
const std::map<std::string, std::string> kStationEnvironment{};

// Every switch blacks out source 1 for 2 s in each period; sts-sim starts switch n's scenario
// n-1 s late, so the black-outs are spread.
constexpr int kPeriodS = 20;
constexpr int kBlackOutS = 4;
const char* const kScenario = "4s source1 blackout\n6s source1 restore\n20s repeat\n";

// A sample of the station's /metrics page; -1 when it cannot be read.
long scrape(int port, const std::string& metric) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
    std::string page;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET /metrics HTTP/1.0\r\n\r\n";
        if (write(fd, request.data(), request.size()) == ssize_t(request.size())) {
            char buffer[4096];
            for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
                page.append(buffer, std::size_t(n));
        }
    }
    close(fd);
    const std::size_t at = page.find("\n" + metric + "{");  // then its labels, a blank, the value
    const std::size_t blank = page.find("} ", at);
    return at == std::string::npos || blank == std::string::npos
               ? -1
               : std::atol(page.c_str() + blank + 2);
}

long proportionalKiB(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);) {
        if (line.starts_with("Pss:"))
            return std::stol(line.substr(4));
    }
    return -1;
}

bool portFree(int port) {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_ANY)}, {}};
    const bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return free;
}

// `count` consecutive TCP ports that nothing listens on now.
int freePortRange(int count) {
    for (;;) {
        const int first = freeTcpPort();
        int n = 1;
        while (n < count && portFree(first + n))
            ++n;
        if (n == count)
            return first;
    }
}

struct Station {
    Station(int number, const std::string& line, const Broker& broker)
        : number(number), metricsPort(freeTcpPort()) {
        dir.install("treld");
        dir.install("treld-station");
        dir.install("DEMOSET.CFG");
        dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\nSNAME:station-" +
                                 std::to_string(number) +
                                 "\r\nREMOTEPORT:" + std::to_string(freeTcpPort()) + "\r\n");
        dir.write("mqtt.cfg", "HOST:127.0.0.1\nPORT:" + std::to_string(broker.port()) +
                                  "\nMETRICS:" + std::to_string(metricsPort) + "\n");
        auto environment = kStationEnvironment;
        environment["TRELD_COM1"] = line;
        monitor.emplace(dir.path() / "treld", kStationArguments, environment);
    }
    long exchanges() const { return scrape(metricsPort, "treld_exchanges_total"); }

    int number;
    int metricsPort;
    ProgramDir dir;
    std::optional<Process> monitor;
};

struct Figures {
    double cpuPercent = 0;  // of one core, all monitors together
    double simulatorCpuPercent = 0;
    double meanResidentMiB = 0, maxResidentMiB = 0, meanProportionalMiB = 0;
    std::vector<double> paces;  // exchanges per second of each station
    std::vector<double> latencyS;
    std::size_t blackOuts = 0;
};

// One run: `count` switches on one simulator, a monitor each, measured for `seconds`.
Figures run(int count, bool overTcp, int seconds, const Broker& broker,
            const std::filesystem::path& received) {
    ProgramDir simDir;
    simDir.install("sts-sim");
    simDir.write("fault.scn", kScenario);
    std::vector<std::string> arguments{"--count",    std::to_string(count),
                                       "--baud",     "2400",
                                       "--scenario", (simDir.path() / "fault.scn").string()};
    const int firstPort = overTcp ? freePortRange(count) : 0;
    if (overTcp)
        arguments.insert(arguments.end(), {"--tcp", std::to_string(firstPort)});
    else
        arguments.insert(arguments.end(), {"--link", (simDir.path() / "line").string()});
    const auto where = simDir.path() / "where.txt";  // a line per switch once it is there
    std::string command = "exec \"$0\"";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    Process simulator("/bin/sh", {"-c", command + " > '" + where.string() + "'",
                                  (simDir.path() / "sts-sim").string()});
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(where);
        if (std::count(std::istreambuf_iterator<char>(in), {}, '\n') >= count)
            break;
        std::this_thread::sleep_for(20ms);
    }
    const auto simulatorStart = WallClock::now();

    std::vector<std::unique_ptr<Station>> stations;
    for (int n = 1; n <= count; ++n) {
        const std::string line =
            overTcp
                ? "tcp://127.0.0.1:" + std::to_string(firstPort + n - 1)
                : (simDir.path() / (count == 1 ? "line" : "line." + std::to_string(n))).string();
        stations.push_back(std::make_unique<Station>(n, line, broker));
    }
    // Started and polling, then a little longer to settle.
    for (const auto deadline = Clock::now() + 120s; Clock::now() < deadline;) {
        if (std::all_of(stations.begin(), stations.end(),
                        [](const auto& station) { return station->exchanges() > 0; }))
            break;
        std::this_thread::sleep_for(500ms);
    }
    std::this_thread::sleep_for(10s);

    std::vector<long> exchangesFrom;
    std::vector<double> cpuFrom;
    for (const auto& station : stations) {
        exchangesFrom.push_back(station->exchanges());
        cpuFrom.push_back(station->monitor->cpuSeconds());
    }
    const double simulatorCpuFrom = simulator.cpuSeconds();
    const auto measuredFrom = WallClock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const auto measuredTo = WallClock::now();
    const double length = std::chrono::duration<double>(measuredTo - measuredFrom).count();

    Figures figures;
    figures.simulatorCpuPercent = 100 * (simulator.cpuSeconds() - simulatorCpuFrom) / length;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const Station& station = *stations[i];
        figures.paces.push_back(double(station.exchanges() - exchangesFrom[i]) / length);
        figures.cpuPercent += 100 * (station.monitor->cpuSeconds() - cpuFrom[i]) / length;
        const double residentMiB = double(station.monitor->peakResidentKiB()) / 1024;
        figures.meanResidentMiB += residentMiB / count;
        figures.maxResidentMiB = std::max(figures.maxResidentMiB, residentMiB);
        figures.meanProportionalMiB +=
            double(proportionalKiB(station.monitor->pid())) / 1024 / count;
    }
    std::this_thread::sleep_for(3s);  // the last black-outs' events reach the broker
    const std::vector<Message> messages = readMessages(received);
    for (const auto& station : stations) {
        const std::string topic = "sts/station-" + std::to_string(station->number) + "/event";
        for (auto blackOut =
                 simulatorStart + std::chrono::seconds(station->number - 1 + kBlackOutS);
             blackOut < measuredTo; blackOut += std::chrono::seconds(kPeriodS)) {
            if (blackOut < measuredFrom)
                continue;
            ++figures.blackOuts;
            const auto event =
                std::find_if(messages.begin(), messages.end(), [&](const Message& m) {
                    return m.topic == topic && m.at >= blackOut &&
                           m.payload.find("-S1 Black out") != std::string::npos;
                });
            if (event != messages.end())
                figures.latencyS.push_back(
                    std::chrono::duration<double>(event->at - blackOut).count());
        }
    }
    return figures;
}

// The pace of the stations at percentile p, against the lone station's, in %.
double paceAgainstLone(const Figures& fleet, const Figures& lone, double p) {
    return 100 * percentile(fleet.paces, p) / lone.paces.at(0);
}

double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int seconds = argc > 2 ? std::max(20, std::atoi(argv[2])) : 60;

    ProgramDir brokerDir;
    Broker broker(brokerDir);
    const std::filesystem::path received = brokerDir.path() / "received.txt";
    Process subscriber("/bin/sh",
                       {"-c", "exec mosquitto_sub -p " + std::to_string(broker.port()) +
                                  " -t 'sts/+/event' -F '%U %t %p' > " + received.string()});
    const double loadBefore = loadAverage();
    Figures lone[2], fleet[2];
    for (const bool overTcp : {false, true}) {
        lone[overTcp] = run(1, overTcp, seconds, broker, received);
        fleet[overTcp] = run(count, overTcp, seconds, broker, received);
    }

    std::printf(
        "host_bench: %d stations at 2400 baud, one mosquitto, %d s measured per run; "
        "load average %.1f before, %.1f after\n",
        count, seconds, loadBefore, loadAverage());
    std::printf("%-40s %-8s %14s %14s\n", "", "goal", "pty lines", "tcp:// ports");
    using Figure = double (*)(const Figures& fleet, const Figures& lone);
    const auto print = [&](const char* name, const char* goal, Figure figure, const char* unit) {
        std::printf("%-40s %-8s %11.2f %-2s %11.2f %-2s\n", name, goal, figure(fleet[0], lone[0]),
                    unit, figure(fleet[1], lone[1]), unit);
    };
    print(
        "CPU of all monitors (one core = 100)", "<= 25",
        [](const Figures& f, const Figures&) { return f.cpuPercent; }, "%");
    print(
        "CPU per station", "<= 0.25",
        [](const Figures& f, const Figures&) { return f.cpuPercent / double(f.paces.size()); },
        "%");
    print(
        "CPU of the lone station", "",
        [](const Figures&, const Figures& l) { return l.cpuPercent; }, "%");
    print(
        "CPU of the simulator (all switches)", "",
        [](const Figures& f, const Figures&) { return f.simulatorCpuPercent; }, "%");
    print(
        "resident memory per station, mean", "<= 15",
        [](const Figures& f, const Figures&) { return f.meanResidentMiB; }, "Mi");
    print(
        "resident memory per station, max", "<= 15",
        [](const Figures& f, const Figures&) { return f.maxResidentMiB; }, "Mi");
    print(
        "proportional memory (PSS) per station", "",
        [](const Figures& f, const Figures&) { return f.meanProportionalMiB; }, "Mi");
    print(
        "lone station's pace (exchanges/s)", "",
        [](const Figures&, const Figures& l) { return l.paces.at(0); }, "");
    print(
        "station's pace / lone: median", ">= 95",
        [](const Figures& f, const Figures& l) { return paceAgainstLone(f, l, 0.5); }, "%");
    print(
        "station's pace / lone: slowest", ">= 95",
        [](const Figures& f, const Figures& l) { return paceAgainstLone(f, l, 0); }, "%");
    print(
        "black-out to event on broker: median", "",
        [](const Figures& f, const Figures&) { return percentile(f.latencyS, 0.5); }, "s");
    print(
        "black-out to event on broker: p99", "< 2",
        [](const Figures& f, const Figures&) { return percentile(f.latencyS, 0.99); }, "s");
    print(
        "black-outs with their event on broker", "",
        [](const Figures& f, const Figures&) {
            return 100 * double(f.latencyS.size()) / double(std::max<std::size_t>(1, f.blackOuts));
        },
        "%");
    return 0;
}
