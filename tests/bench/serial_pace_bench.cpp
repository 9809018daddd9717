// Prints how fast the real treld polls a device that answers at once, beside
// the floor program doing the same exchanges with nothing else.
// Usage: serial_pace_bench [seconds]
#include <algorithm>
#include <cstdio>
#include <vector>

#include "e2e_support.h"

using namespace treld::e2e;
using namespace std::chrono_literals;

namespace {

struct Figures {
    int exchanges = 0;
    double seconds = 0;
    double medianGapMs = 0;
    double p99GapMs = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

std::string answer(const std::string& command) {
    if (command == "SRV")
        return "#230 231 229 228 230 232 0500 0499\r";
    if (command == "OPL")
        return "#045 050 055 010 011 012 035 002\r";
    if (command == "SAS")
        return "#00000000 00000000 00000000 00000000 00000\r";
    if (command == "FIR")
        return "STS V2.07\r";
    if (command.empty())
        return "";
    return "#000\r";
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
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    Clock::time_point answeredAt{};
    const Clock::time_point started = Clock::now();
    while (Clock::now() < end) {
        const auto command = line.nextCommand(2s);
        if (!command)
            break;
        if (answeredAt != Clock::time_point{}) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(command->at - answeredAt).count());
        }
        line.send(answer(command->text));
        answeredAt = Clock::now();
        ++figures.exchanges;
    }
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.cpuSeconds = process.cpuSeconds();
    figures.peakKiB = process.peakResidentKiB();
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty()) {
        figures.medianGapMs = gaps[gaps.size() / 2];
        figures.p99GapMs = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    }
    return figures;
}

void print(const char* name, const Figures& f) {
    std::printf("%-18s %9.1f %10.2f %9.2f %9.1f%% %9.1f\n", name, f.exchanges / f.seconds,
                f.medianGapMs, f.p99GapMs, 100.0 * f.cpuSeconds / f.seconds, f.peakKiB / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    std::printf("%d s each, device answering at once on a pseudo-terminal\n", seconds);
    std::printf("%-18s %9s %10s %9s %10s %9s\n", "program", "exch/s", "median ms", "p99 ms", "CPU",
                "peak MiB");
    print("treld", measure(builtProgramDir() / "treld", seconds));
    print("bare Qt floor", measure(BARE_FLOOR_PROGRAM, seconds));
    return 0;
}
