// Prints how fast the real treld polls a device that answers at once, beside
// the floor program doing the same exchanges with nothing else, and what one
// exchange costs each of them in CPU time.
// Usage: serial_pace_bench [seconds]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "e2e_support.h"

using namespace treld::e2e;
using namespace std::chrono_literals;

namespace {

// Start-up (windows, fonts, the first cycle) is left out of the CPU figures.
constexpr auto kWarmUp = 2s;

struct Figures {
    int exchanges = 0;
    double seconds = 0;
    double medianGapMs = 0;
    double p99GapMs = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;

    double cpuPerExchangeUs() const { return exchanges > 0 ? 1e6 * cpuSeconds / exchanges : 0; }
};

// Time the process has spent on a CPU, in nanoseconds: finer than the clock
// ticks of /proc/<pid>/stat, which a few seconds of a light program hardly move.
double cpuSecondsOf(pid_t pid) {
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    double runNs = 0;
    schedstat >> runNs;
    return runNs / 1e9;
}

Figures measure(const std::filesystem::path& built, int seconds) {
    ProgramDir dir;
    dir.installFrom(built);
    const std::string program = built.filename();
    dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\n");
    DeviceLine line;
    Process process(dir.path() / program, {},
                    {{"QT_QPA_PLATFORM", "offscreen"}, {"TRELD_COM1", line.monitorEnd()}});
    std::vector<double> gaps;
    Figures figures;
    const Clock::time_point measureFrom = Clock::now() + kWarmUp;
    const Clock::time_point end = measureFrom + std::chrono::seconds(seconds);
    Clock::time_point answeredAt{};
    Clock::time_point started{};
    double cpuAtStart = 0;
    while (Clock::now() < end) {
        const auto command = line.nextCommand(2s);
        if (!command)
            break;
        const bool measuring = started != Clock::time_point{};
        if (!measuring && command->at >= measureFrom) {
            started = command->at;
            cpuAtStart = cpuSecondsOf(process.pid());
        }
        if (measuring) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(command->at - answeredAt).count());
            ++figures.exchanges;
        }
        line.send(healthyDeviceReply(command->text));
        answeredAt = Clock::now();
    }
    if (started == Clock::time_point{})
        return figures;
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.cpuSeconds = cpuSecondsOf(process.pid()) - cpuAtStart;
    figures.peakKiB = process.peakResidentKiB();
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty()) {
        figures.medianGapMs = gaps[gaps.size() / 2];
        figures.p99GapMs = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    }
    return figures;
}

void print(const char* name, const Figures& f) {
    const double rate = f.seconds > 0 ? f.exchanges / f.seconds : 0;
    const double cpuShare = f.seconds > 0 ? 100.0 * f.cpuSeconds / f.seconds : 0;
    std::printf("%-14s %8.1f %10.2f %8.2f %7.2f%% %12.1f %9.1f\n", name, rate, f.medianGapMs,
                f.p99GapMs, cpuShare, f.cpuPerExchangeUs(), f.peakKiB / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    std::printf(
        "%d s each after %lld s of warm-up, device answering at once on a pseudo-terminal\n",
        seconds, static_cast<long long>(kWarmUp.count()));
    std::printf("%-14s %8s %10s %8s %8s %12s %9s\n", "program", "exch/s", "median ms", "p99 ms",
                "CPU", "CPU us/exch", "peak MiB");
    const Figures monitor = measure(builtProgramDir() / "treld", seconds);
    print("treld", monitor);
    const Figures floor = measure(BARE_FLOOR_PROGRAM, seconds);
    print("bare Qt floor", floor);
    if (floor.cpuPerExchangeUs() > 0) {
        std::printf("CPU per exchange, treld / floor: %.2fx\n",
                    monitor.cpuPerExchangeUs() / floor.cpuPerExchangeUs());
    }
    return 0;
}
