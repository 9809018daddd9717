// End-to-end helpers: real programs in a temporary program directory, on the simulator or
// on a pseudo-terminal where the test plays the device.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device.h"

namespace treld::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A fresh program directory with a SERLOGS folder, removed afterwards; never copied.
class ProgramDir {
  public:
    ProgramDir();
    ~ProgramDir();

    const std::filesystem::path& path() const { return path_; }
    // Copies a built program here (programs find their files beside themselves).
    void install(const std::string& program) const;
    void installFrom(const std::filesystem::path& program) const;
    void write(const std::string& file, const std::string& text) const;
    std::string read(const std::string& file) const;

  private:
    std::filesystem::path path_;
};

std::filesystem::path builtProgramDir();

// A child process; killed when the object goes.
class Process {
  public:
    Process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
            const std::map<std::string, std::string>& environment = {});
    ~Process() { stop(); }

    bool running();
    // Its exit code once it ended within `limit` (-1: ended by a signal).
    std::optional<int> exitCode(std::chrono::milliseconds limit);
    pid_t pid() const { return pid_; }
    // Sends `number` while it runs: once it has ended, pid() is -1, and kill(-1, ...) would
    // reach every process.
    void signal(int number);
    // Peak resident memory so far in KiB, and CPU seconds used (from /proc).
    long peakResidentKiB() const;
    double cpuSeconds() const;
    void stop();

  private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// The simulator's device model where a test plays the device: it answers at once ("": silence).
struct AnsweringDevice {
    sts::Device model{{}, 0};
    const Clock::time_point start = Clock::now();
    sts::Millis ms() const { return (Clock::now() - start) / 1ms; }
    std::string reply(const std::string& line) { return model.handle(line, ms()).value_or(""); }
};

// The device end of a pseudo-terminal: the monitor opens the other end.
class DeviceLine {
  public:
    DeviceLine();
    ~DeviceLine() { hangUp(); }

    const std::string& monitorEnd() const { return slavePath_; }
    struct Command {
        std::string text;  // without its CR
        Clock::time_point at;
    };
    // The next CR-terminated command, or nothing within `timeout`.
    std::optional<Command> nextCommand(std::chrono::milliseconds timeout);
    void send(const std::string& text);
    void hangUp();  // as a device that vanishes

  private:
    int master_ = -1;
    int keepOpen_ = -1;
    std::string slavePath_;
    std::string pending_;
};

// treld from the build in `dir` (and the headless station it hands over to), on the serial
// line at `line`; stderr to dir/stderr.txt; at most `maxFiles` open files when not 0.
std::unique_ptr<Process> startMonitor(const ProgramDir& dir, const std::string& line,
                                      const std::string& config, int maxFiles = 0,
                                      const std::vector<std::string>& arguments = {});

// sts-sim in `dir`, once its line dir/sts-line is there; it traces to dir/trace.txt.
std::unique_ptr<Process> startSimulator(const ProgramDir& dir,
                                        std::vector<std::string> arguments = {});

// The commands sts-sim received so far.
std::vector<std::string> simulatorReceived(const ProgramDir& dir);

// A TCP port that nothing listens on now, below 32768: the monitor keeps it in a signed
// 16-bit setting.
int freeTcpPort();

// Longer fault and attack runs when TRELD_E2E_LONG is set.
template <typename T>
T normalOrLong(T normal, T longer) {
    return std::getenv("TRELD_E2E_LONG") != nullptr ? longer : normal;
}

}  // namespace treld::e2e
