// Prints how fast the real treld polls a device that answers at once, beside
// the headless station and the floor program doing the same exchanges with
// nothing else, and what one exchange costs each of them.
// Usage: serial_pace_bench [seconds]
//        serial_pace_bench --callgrind [exchanges] [keep-dir]   (instructions, needs valgrind;
//        each program's profile is copied to keep-dir for callgrind_annotate)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "e2e_support.h"

using namespace treld::e2e;
using namespace std::chrono_literals;

namespace {

// Start-up (windows, fonts, the first cycle) is left out of every figure.
constexpr auto kWarmUp = 2s;
constexpr int kWarmUpExchanges = 100;

// What is measured: a built program and its arguments.
struct Subject {
    const char* name;
    std::filesystem::path built;
    std::vector<std::string> arguments;
};

const std::vector<Subject>& subjects() {
    static const std::vector<Subject> kSubjects = {
        {"treld", builtProgramDir() / "treld", {}},
        {"treld-station", builtProgramDir() / "treld-station", {}},
        {"bare Qt floor", BARE_FLOOR_PROGRAM, {}},
        // The floor in the monitor's rhythm: one tick evaluates, one sends.
        {"floor, 2 ticks", BARE_FLOOR_PROGRAM, {"2"}},
    };
    return kSubjects;
}

// A program in a fresh directory on a pseudo-terminal, run directly or
// under `wrapper`, with the device answering each command at once.
class Run {
  public:
    Run(const Subject& subject, std::vector<std::string> wrapper) {
        dir_.installFrom(subject.built);
        dir_.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\n");
        std::vector<std::string> arguments = std::move(wrapper);
        arguments.push_back((dir_.path() / subject.built.filename()).string());
        arguments.insert(arguments.end(), subject.arguments.begin(), subject.arguments.end());
        const std::string program = arguments.front();
        arguments.erase(arguments.begin());
        process_ = std::make_unique<Process>(
            program, arguments,
            std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                               {"TRELD_COM1", line_.monitorEnd()}});
    }

    // Answers the next command; nothing when none came (the program is gone).
    std::optional<DeviceLine::Command> exchange() {
        auto command = line_.nextCommand(kNoCommandFor);
        if (command)
            line_.send(device_.reply(command->text));
        return command;
    }

    Process& process() { return *process_; }

  private:
    static constexpr std::chrono::seconds kNoCommandFor{30};  // slow under valgrind
    ProgramDir dir_;
    DeviceLine line_;
    AnsweringDevice device_;
    std::unique_ptr<Process> process_;
};

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

Figures measure(const Subject& subject, int seconds) {
    Run run(subject, {});
    std::vector<double> gaps;
    Figures figures;
    const Clock::time_point measureFrom = Clock::now() + kWarmUp;
    const Clock::time_point end = measureFrom + std::chrono::seconds(seconds);
    Clock::time_point answeredAt{};
    Clock::time_point started{};
    double cpuAtStart = 0;
    while (Clock::now() < end) {
        const auto command = run.exchange();
        if (!command)
            return {};
        const bool measuring = started != Clock::time_point{};
        if (!measuring && command->at >= measureFrom) {
            started = command->at;
            cpuAtStart = cpuSecondsOf(run.process().pid());
        }
        if (measuring) {
            gaps.push_back(
                std::chrono::duration<double, std::milli>(command->at - answeredAt).count());
            ++figures.exchanges;
        }
        answeredAt = Clock::now();
    }
    figures.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    figures.cpuSeconds = cpuSecondsOf(run.process().pid()) - cpuAtStart;
    figures.peakKiB = run.process().peakResidentKiB();
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

bool callgrindControl(const std::string& options, pid_t pid) {
    const std::string command =
        "callgrind_control " + options + " " + std::to_string(pid) + " >/dev/null";
    return std::system(command.c_str()) == 0;
}

// Instructions the program runs per exchange: instrumentation is switched on
// after the warm-up exchanges and the counts dumped after `exchanges` more.
double instructionsPerExchange(const Subject& subject, int exchanges,
                               const std::filesystem::path& keepDir) {
    const ProgramDir out;
    const std::filesystem::path counts = out.path() / "callgrind.out";
    Run run(subject, {"/usr/bin/valgrind", "--tool=callgrind", "--instr-atstart=no",
                      "--callgrind-out-file=" + counts.string()});
    for (int i = 0; i < kWarmUpExchanges; ++i) {
        if (!run.exchange())
            return 0;
    }
    if (!callgrindControl("--instr=on", run.process().pid()))
        return 0;
    for (int i = 0; i < exchanges; ++i) {
        if (!run.exchange())
            return 0;
    }
    if (!callgrindControl("--dump", run.process().pid()))
        return 0;
    const std::filesystem::path dump = counts.string() + ".1";  // the first dump
    if (!keepDir.empty()) {
        std::filesystem::create_directories(keepDir);
        std::filesystem::copy_file(dump, keepDir / (std::string(subject.name) + ".callgrind"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::ifstream in(dump);
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("totals:"))
            return std::stod(line.substr(7)) / exchanges;
    }
    return 0;
}

// The first subject against each of the others.
void printRatios(const std::vector<double>& perExchange, const char* what) {
    for (std::size_t i = 1; i < perExchange.size(); ++i) {
        if (perExchange[i] > 0) {
            std::printf("%s, treld / %s: %.2fx\n", what, subjects()[i].name,
                        perExchange[0] / perExchange[i]);
        }
    }
}

int countInstructions(int exchanges, const std::filesystem::path& keepDir) {
    std::printf("Instructions per exchange under callgrind, %d exchanges after %d\n", exchanges,
                kWarmUpExchanges);
    std::vector<double> perExchange;
    for (const Subject& subject : subjects()) {
        perExchange.push_back(instructionsPerExchange(subject, exchanges, keepDir));
        if (perExchange.back() <= 0) {
            std::printf("no counts for %s: is valgrind installed?\n", subject.name);
            return 1;
        }
        std::printf("%-14s %10.0f\n", subject.name, perExchange.back());
    }
    printRatios(perExchange, "Instructions per exchange");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--callgrind")
        return countInstructions(argc > 2 ? std::atoi(argv[2]) : 500, argc > 3 ? argv[3] : "");
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    std::printf(
        "%d s each after %lld s of warm-up, device answering at once on a pseudo-terminal\n",
        seconds, static_cast<long long>(kWarmUp.count()));
    std::printf("%-14s %8s %10s %8s %8s %12s %9s\n", "program", "exch/s", "median ms", "p99 ms",
                "CPU", "CPU us/exch", "peak MiB");
    std::vector<double> perExchange;
    for (const Subject& subject : subjects()) {
        const Figures figures = measure(subject, seconds);
        print(subject.name, figures);
        perExchange.push_back(figures.cpuPerExchangeUs());
    }
    printRatios(perExchange, "CPU per exchange");
    return 0;
}
