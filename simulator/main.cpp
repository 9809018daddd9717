// sts-sim: a static transfer switch on a serial line, for trying the monitor without hardware.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <deque>
#include <fstream>
#include <iostream>

#include "command_line.h"
#include "device.h"
#include "line_reader.h"
#include "link_faults.h"
#include "scenario.h"
#include "serial_end.h"
#include "trace.h"

namespace {

using sts::Millis;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

Millis monotonicMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

sts::ClockReading localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

// Removes the symlink at exit, however the loop ends.
struct LinkGuard {
    std::string path;
    ~LinkGuard() {
        if (!path.empty()) {
            unlink(path.c_str());
        }
    }
};

constexpr std::size_t kMaxQueuedWrites = 256;
constexpr int kIdleWaitMs = 100;

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

    std::optional<sts::ScenarioPlayer> player;
    const Millis start = monotonicMillis();
    if (!options->scenarioPath.empty()) {
        std::ifstream file(options->scenarioPath);
        if (!file) {
            std::cerr << "sts-sim: cannot read scenario " << options->scenarioPath << "\n";
            return 2;
        }
        auto scenario = sts::parseScenario(file, error);
        if (!scenario) {
            std::cerr << "sts-sim: scenario " << options->scenarioPath << ": " << error << "\n";
            return 2;
        }
        player.emplace(std::move(*scenario), 0);  // the loop counts from the start
    }

    sts::Trace trace;
    if (!options->tracePath.empty() && !trace.open(options->tracePath)) {
        std::cerr << "sts-sim: cannot append to trace " << options->tracePath << "\n";
        return 2;
    }

    auto end = options->devicePath.empty() ? sts::SerialEnd::openPty(error)
                                           : sts::SerialEnd::openDevice(options->devicePath, error);
    if (!end) {
        std::cerr << "sts-sim: " << error << "\n";
        return 1;
    }
    LinkGuard link;
    if (!options->linkPath.empty()) {
        unlink(options->linkPath.c_str());  // a link left by an earlier run
        if (symlink(end->peerPath().c_str(), options->linkPath.c_str()) != 0) {
            std::cerr << "sts-sim: cannot create link " << options->linkPath << "\n";
            return 1;
        }
        link.path = options->linkPath;
    }
    std::cout << (options->devicePath.empty() ? "pty " : "device ") << end->peerPath() << std::endl;

    struct sigaction action {};
    action.sa_handler = requestStop;
    // A closed terminal (SIGHUP) ends it the same way, its link removed.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);

    sts::DeviceSetup setup;
    setup.servicePassword = options->servicePassword;
    setup.userPassword = options->userPassword;
    setup.clockStart = localTime();
    setup.seed = options->seed;
    sts::Device device(setup, 0);
    sts::LinkFaults faults = options->faults;
    sts::ReplyShaper shaper(options->seed);
    sts::LineReader reader;
    std::deque<sts::TimedWrite> queue;  // the line sends in order, so a delayed reply holds back

    while (stopRequested == 0) {
        const Millis now = monotonicMillis() - start;
        if (player) {
            player->run(now, device.plant(), faults);
        }
        device.advance(now);
        if (faults.cut) {
            queue.clear();  // replies under way are lost with the line
        }
        while (!queue.empty() && queue.front().due <= now) {
            if (!end->write(queue.front().bytes)) {
                trace.write(now, "DROP", "line busy or closed: " + queue.front().bytes);
            } else {
                trace.write(now, "TX", queue.front().bytes);
            }
            queue.pop_front();
        }

        int wait = kIdleWaitMs;
        if (!queue.empty()) {
            wait = static_cast<int>(std::clamp<Millis>(queue.front().due - now, 0, kIdleWaitMs));
        }
        pollfd line{end->fd(), POLLIN, 0};
        if (poll(&line, 1, wait) < 0) {
            continue;  // a signal: the loop condition decides
        }
        if ((line.revents & POLLIN) != 0) {
            const std::string received = end->readAvailable();
            if (!received.empty() && faults.cut) {
                trace.write(now, "CUT", received);
                reader = {};  // a command torn by the cut never reaches the device
                continue;
            }
            if (!received.empty()) {
                const Millis at = monotonicMillis() - start;
                for (const auto& command : reader.feed(received)) {
                    if (command.overlong) {
                        trace.write(at, "DROP", "overlong line");
                        continue;
                    }
                    trace.write(at, "RX", command.text);
                    const auto reply = device.handle(command.text, at);
                    if (!reply) {
                        continue;
                    }
                    if (queue.size() >= kMaxQueuedWrites) {
                        trace.write(at, "DROP", "reply queue full: " + *reply);
                        continue;
                    }
                    for (auto& write : shaper.shape(*reply, faults, at)) {
                        queue.push_back(std::move(write));
                    }
                }
                continue;
            }
        }
        if ((line.revents & (POLLHUP | POLLERR)) != 0) {
            poll(nullptr, 0, wait);  // nobody on the other end: wait for the next opener
        }
    }
    return 0;
}
