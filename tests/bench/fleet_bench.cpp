// Prints what a fleet of headless stations costs this machine and how fast it
// reports: N stations (sts-sim + treld) publishing to one local mosquitto,
// beside a few stations without mqtt.cfg in the same run. Figures: poll pace
// per station, messages per second at the broker, CPU per exchange with and
// without MQTT, black-out to event latency on the broker, and the poll pace
// before, during and after a broker outage.
// Usage: fleet_bench [stations=10] [seconds=30] [stations without MQTT=2]
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

// Each station blacks out source 1 at its own offset, every kPeriod seconds.
constexpr int kPeriod = 6;

struct Station {
    Station(int number, const Broker* broker) : number(number) {
        dir.install("treld");
        dir.install("treld-station");
        dir.install("sts-sim");
        dir.install("DEMOSET.CFG");
        dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\nSNAME:station-" +
                                 std::to_string(number) +
                                 "\r\nREMOTEPORT:" + std::to_string(freeTcpPort()) + "\r\n");
        if (broker != nullptr)
            dir.write("mqtt.cfg", "HOST:127.0.0.1\nPORT:" + std::to_string(broker->port()) + "\n");
        offsetMs = 1000 + (number * 537) % ((kPeriod - 3) * 1000);
        dir.write("fault.scn", std::to_string(offsetMs) + "ms source1 blackout\n" +
                                   std::to_string(offsetMs + 2000) + "ms source1 restore\n" +
                                   std::to_string(kPeriod) + "s repeat\n");
        const std::string line = (dir.path() / "sts-line").string();
        simulatorStart = WallClock::now();
        simulator.emplace(dir.path() / "sts-sim",
                          std::vector<std::string>{"--link", line, "--scenario",
                                                   (dir.path() / "fault.scn").string(), "--trace",
                                                   (dir.path() / "trace.txt").string()});
        for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i)
            std::this_thread::sleep_for(20ms);
        monitor.emplace(dir.path() / "treld", std::vector<std::string>{"--headless"},
                        std::map<std::string, std::string>{{"TRELD_COM1", line}});
    }

    long exchanges() const {
        std::ifstream in(dir.path() / "trace.txt");
        long count = 0;
        for (std::string line; std::getline(in, line);)
            count += line.find(" RX ") != std::string::npos ? 1 : 0;
        return count;
    }

    // The wall-clock times of the black-outs the scenario played until `until`.
    std::vector<WallClock::time_point> blackOuts(WallClock::time_point until) const {
        std::vector<WallClock::time_point> times;
        for (auto at = simulatorStart + std::chrono::milliseconds(offsetMs); at < until;
             at += std::chrono::seconds(kPeriod))
            times.push_back(at);
        return times;
    }

    int number;
    int offsetMs;
    ProgramDir dir;
    WallClock::time_point simulatorStart;
    std::optional<Process> simulator;
    std::optional<Process> monitor;
};

long totalExchanges(const std::vector<std::unique_ptr<Station>>& stations) {
    long total = 0;
    for (const auto& station : stations)
        total += station->exchanges();
    return total;
}

// CPU seconds and exchanges of a group of stations so far.
struct Usage {
    double cpu = 0;
    long exchanges = 0;
};

Usage usage(const std::vector<std::unique_ptr<Station>>& stations) {
    Usage total;
    for (const auto& station : stations)
        total.cpu += station->monitor->cpuSeconds();
    total.exchanges = totalExchanges(stations);
    return total;
}

double cpuPerExchangeMs(const Usage& from, const Usage& to) {
    return 1000 * (to.cpu - from.cpu) / double(std::max(1L, to.exchanges - from.exchanges));
}

// Exchanges per second and station of each group, and CPU per exchange of
// both, over one window.
struct Window {
    double pace = 0;
    double plainPace = 0;
    double cpuPerExchangeMs = 0;
    double plainCpuPerExchangeMs = 0;
};

Window measure(const std::vector<std::unique_ptr<Station>>& publishing,
               const std::vector<std::unique_ptr<Station>>& plain, std::chrono::seconds length) {
    const Usage publishingFrom = usage(publishing), plainFrom = usage(plain);
    std::this_thread::sleep_for(length);
    const Usage publishingTo = usage(publishing), plainTo = usage(plain);
    auto pace = [&](const Usage& from, const Usage& to, std::size_t stations) {
        return double(to.exchanges - from.exchanges) / double(length.count()) /
               double(std::max<std::size_t>(1, stations));
    };
    return {pace(publishingFrom, publishingTo, publishing.size()),
            pace(plainFrom, plainTo, plain.size()), cpuPerExchangeMs(publishingFrom, publishingTo),
            cpuPerExchangeMs(plainFrom, plainTo)};
}

// The process's resident memory of its own, in KiB: what it does not share with the other
// stations (the libraries' code is mapped once per host).
long privateKiB(const Process& process) {
    std::ifstream rollup("/proc/" + std::to_string(process.pid()) + "/smaps_rollup");
    long total = 0;
    for (std::string key; rollup >> key;) {
        long kiB = 0;
        if (key.starts_with("Private_") && rollup >> kiB)
            total += kiB;
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int seconds = argc > 2 ? std::max(6, std::atoi(argv[2])) : 30;
    const int plainCount = argc > 3 ? std::max(0, std::atoi(argv[3])) : 2;

    ProgramDir brokerDir;
    Broker broker(brokerDir);
    const std::filesystem::path received = brokerDir.path() / "received.txt";
    Process subscriber("/bin/sh", {"-c", "exec mosquitto_sub -p " + std::to_string(broker.port()) +
                                             " -t 'sts/#' -F '%U %t %p' > " + received.string()});
    std::vector<std::unique_ptr<Station>> publishing;
    std::vector<std::unique_ptr<Station>> plain;
    for (int n = 1; n <= count; ++n)
        publishing.push_back(std::make_unique<Station>(n, &broker));
    for (int n = 1; n <= plainCount; ++n)
        plain.push_back(std::make_unique<Station>(100 + n, nullptr));
    std::this_thread::sleep_for(3s);  // connected, first cycles done

    const auto measuredFrom = WallClock::now();
    const long messagesBefore = static_cast<long>(readMessages(received).size());
    const Window steady = measure(publishing, plain, std::chrono::seconds(seconds));
    const auto measuredTo = WallClock::now();
    const std::vector<Message> messages = readMessages(received);
    const double messagesPerSecond =
        double(static_cast<long>(messages.size()) - messagesBefore) /
        std::chrono::duration<double>(measuredTo - measuredFrom).count();

    std::vector<double> latencyMs;
    for (const auto& station : publishing) {
        const std::string topic = "sts/station-" + std::to_string(station->number) + "/event";
        for (const auto blackOut : station->blackOuts(measuredTo - 2s)) {
            if (blackOut < measuredFrom)
                continue;
            const auto event =
                std::find_if(messages.begin(), messages.end(), [&](const Message& m) {
                    return m.topic == topic && m.at >= blackOut &&
                           m.payload.find("-S1 Black out") != std::string::npos;
                });
            if (event != messages.end())
                latencyMs.push_back(
                    std::chrono::duration<double, std::milli>(event->at - blackOut).count());
        }
    }

    const auto window = std::chrono::seconds(std::max(3, seconds / 6));
    const Window before = measure(publishing, plain, window);
    broker.stop();
    const Window during = measure(publishing, plain, window);
    broker.start();
    const Window after = measure(publishing, plain, window);

    std::printf("fleet of %d publishing stations and %d without MQTT, %d s measured\n", count,
                plainCount, seconds);
    std::printf("  poll pace per station          %8.1f exchanges/s (%.1f without MQTT)\n",
                steady.pace, steady.plainPace);
    std::printf("  messages per second at broker  %8.1f (%.1f per station)\n", messagesPerSecond,
                messagesPerSecond / count);
    std::printf("  CPU per exchange with MQTT     %8.3f ms\n", steady.cpuPerExchangeMs);
    std::printf("  CPU per exchange without MQTT  %8.3f ms (with/without %.2f)\n",
                steady.plainCpuPerExchangeMs,
                steady.plainCpuPerExchangeMs > 0
                    ? steady.cpuPerExchangeMs / steady.plainCpuPerExchangeMs
                    : 0.0);
    std::printf("  black-out to event on broker   %8.1f ms median, %.1f ms p99 (%zu black-outs)\n",
                percentile(latencyMs, 0.5), percentile(latencyMs, 0.99), latencyMs.size());
    std::printf("  broker outage, %2lld s windows     before   during    after\n",
                static_cast<long long>(window.count()));
    for (const auto& [name, figure] : {std::pair{"pace with MQTT   ", &Window::pace},
                                       {"pace without MQTT", &Window::plainPace},
                                       {"CPU/exchange MQTT", &Window::cpuPerExchangeMs}})
        std::printf("    %s            %8.2f %8.2f %8.2f\n", name, before.*figure, during.*figure,
                    after.*figure);
    long peakKiB = 0, ownKiB = 0;
    for (const auto& station : publishing) {
        peakKiB = std::max(peakKiB, station->monitor->peakResidentKiB());
        ownKiB = std::max(ownKiB, privateKiB(*station->monitor));
    }
    std::printf("  peak memory of a monitor       %8.1f MiB resident, %.1f MiB of its own\n",
                peakKiB / 1024.0, ownKiB / 1024.0);
    return latencyMs.empty() ? 1 : 0;
}
