// sts-sim: static transfer switches on serial lines or TCP ports, for trying the monitor
// without hardware.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "command_line.h"
#include "scenario.h"
#include "serial_end.h"
#include "simulated_switch.h"
#include "tcp_end.h"

namespace {

using sts::Micros;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

Micros monotonicMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

sts::ClockReading localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

// Removes the symlinks at exit, however the loop ends.
struct LinkGuard {
    std::vector<std::string> paths;
    ~LinkGuard() {
        for (const std::string& path : paths) {
            unlink(path.c_str());
        }
    }
};

constexpr Micros kIdleWaitMicros = 100'000;
constexpr sts::Millis kScenarioStagger = 1000;  // switch n plays its scenario n-1 s late

// The file of switch n (from 1): the path itself for a single switch, else the path and ".n".
std::string numbered(const std::string& path, int n, int count) {
    return count == 1 ? path : path + "." + std::to_string(n);
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        sts::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "sts-sim: " << error << "\n" << sts::kUsage;
        return 2;
    }
    if (options->help || options->version) {
        std::cout << (options->help ? sts::kUsage : "sts-sim " TRELD_VERSION "\n");
        return 0;
    }

    std::optional<sts::Scenario> scenario;
    if (!options->scenarioPath.empty()) {
        std::ifstream file(options->scenarioPath);
        if (!file) {
            std::cerr << "sts-sim: cannot read scenario " << options->scenarioPath << "\n";
            return 2;
        }
        scenario = sts::parseScenario(file, error);
        if (!scenario) {
            std::cerr << "sts-sim: scenario " << options->scenarioPath << ": " << error << "\n";
            return 2;
        }
    }

    LinkGuard links;
    std::vector<std::unique_ptr<sts::SimulatedSwitch>> switches;
    for (int n = 1; n <= options->count; ++n) {
        std::unique_ptr<sts::LineEnd> end;
        if (options->tcpPort > 0) {
            end = sts::TcpEnd::listen(options->tcpPort + n - 1, error);
        } else if (options->devicePath.empty()) {
            end = sts::SerialEnd::openPty(error);
        } else {
            end = sts::SerialEnd::openDevice(options->devicePath, error);
        }
        if (!end) {
            std::cerr << "sts-sim: " << error << "\n";
            return 1;
        }
        if (!options->linkPath.empty()) {
            const std::string link = numbered(options->linkPath, n, options->count);
            unlink(link.c_str());  // a link left by an earlier run
            if (symlink(static_cast<sts::SerialEnd&>(*end).peerPath().c_str(), link.c_str()) != 0) {
                std::cerr << "sts-sim: cannot create link " << link << "\n";
                return 1;
            }
            links.paths.push_back(link);
        }
        sts::DeviceSetup setup;
        setup.servicePassword = options->servicePassword;
        setup.userPassword = options->userPassword;
        setup.clockStart = localTime();
        setup.seed = options->seed + static_cast<unsigned>(n - 1);
        std::optional<sts::ScenarioPlayer> player;
        if (scenario) {
            player.emplace(*scenario, (n - 1) * kScenarioStagger);
        }
        std::cout << end->where() << std::endl;
        switches.push_back(std::make_unique<sts::SimulatedSwitch>(
            std::move(end), setup, options->faults, options->baud, std::move(player)));
        const std::string trace = options->tracePath.empty()
                                      ? std::string()
                                      : numbered(options->tracePath, n, options->count);
        if (!trace.empty() && !switches.back()->trace().open(trace)) {
            std::cerr << "sts-sim: cannot append to trace " << trace << "\n";
            return 2;
        }
    }

    struct sigaction action {};
    action.sa_handler = requestStop;
    // A closed terminal (SIGHUP) ends it the same way, its links removed.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);

    const Micros start = monotonicMicros();
    std::vector<pollfd> lines;
    std::vector<sts::SimulatedSwitch*> polled;
    while (stopRequested == 0) {
        const Micros now = monotonicMicros() - start;
        Micros wake = now + kIdleWaitMicros;
        lines.clear();
        polled.clear();
        for (const auto& simulated : switches) {
            simulated->advance(now);
            wake = std::min(wake, simulated->nextDue().value_or(wake));
            if (simulated->listening(now)) {
                lines.push_back({simulated->end().fd(), POLLIN, 0});
                polled.push_back(simulated.get());
            }
        }
        // Rounded up: a character due within the millisecond never makes the loop spin.
        const int wait = static_cast<int>((std::max<Micros>(wake - now, 0) + 999) / 1000);
        if (poll(lines.data(), lines.size(), wait) < 0) {
            continue;  // a signal: the loop condition decides
        }
        const Micros at = monotonicMicros() - start;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].revents != 0) {
                polled[i]->ready(lines[i].revents, at);
            }
        }
    }
    return 0;
}
