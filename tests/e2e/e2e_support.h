// End-to-end helpers: real programs in a temporary program directory, a
// pseudo-terminal the test plays the device on, and wall-clock waiting.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace treld::e2e {

using Clock = std::chrono::steady_clock;

// A fresh program directory holding copies of the built programs (they find
// their files beside themselves) and a SERLOGS folder.
class ProgramDir {
  public:
    ProgramDir();
    ~ProgramDir();
    ProgramDir(const ProgramDir&) = delete;
    ProgramDir& operator=(const ProgramDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Copies a program of the build's program directory here.
    void install(const std::string& program) const;
    // Copies a program from anywhere here.
    void installFrom(const std::filesystem::path& program) const;
    void write(const std::string& file, const std::string& text) const;
    std::string read(const std::string& file) const;

  private:
    std::filesystem::path path_;
};

// What a healthy device answers at once to the measurement cycle's commands;
// nothing to an empty line.
std::string healthyDeviceReply(const std::string& command);

// A command the simulator received, from its --trace file (ms since its start).
struct ReceivedCommand {
    long atMs;
    std::string text;
};
std::vector<ReceivedCommand> simulatorReceived(const std::filesystem::path& traceFile);

// The build's program directory.
std::filesystem::path builtProgramDir();

// A child process; killed when the object goes.
class Process {
  public:
    Process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
            const std::map<std::string, std::string>& environment = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running();
    pid_t pid() const { return pid_; }
    // Peak resident memory of the process so far, in KiB (from /proc).
    long peakResidentKiB() const;
    // CPU seconds used so far (user + system, from /proc).
    double cpuSeconds() const;
    void stop();

  private:
    pid_t pid_ = -1;
};

// The device end of a pseudo-terminal: the monitor opens the other end.
class DeviceLine {
  public:
    DeviceLine();
    ~DeviceLine();
    DeviceLine(const DeviceLine&) = delete;
    DeviceLine& operator=(const DeviceLine&) = delete;

    const std::string& monitorEnd() const { return slavePath_; }

    struct Command {
        std::string text;  // without its CR
        Clock::time_point at;
    };
    // The next CR-terminated command, or nothing within `timeout`.
    std::optional<Command> nextCommand(std::chrono::milliseconds timeout);
    void send(const std::string& text);
    // Closes the device end, as a device that vanishes.
    void hangUp();

  private:
    int master_ = -1;
    int keepOpen_ = -1;
    std::string slavePath_;
    std::string pending_;
};

// The treld of the build in `dir`, on `line`, with `config` as its sts.cfg.
std::unique_ptr<Process> startMonitor(const ProgramDir& dir, const DeviceLine& line,
                                      const std::string& config);

// Plays the device on its own thread: answers every command with what
// `reply` returns (nothing for an empty text) and keeps when each came.
class DevicePlayer {
  public:
    using Reply = std::function<std::string(const std::string& command)>;
    DevicePlayer(DeviceLine& line, Reply reply = healthyDeviceReply);
    ~DevicePlayer();
    DevicePlayer(const DevicePlayer&) = delete;
    DevicePlayer& operator=(const DevicePlayer&) = delete;

    // Commands of the measurement cycle that came within [from, to).
    int pollCommandsBetween(Clock::time_point from, Clock::time_point to) const;
    // Every command so far, in order.
    std::vector<DeviceLine::Command> commands() const;

  private:
    DeviceLine& line_;
    Reply reply_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<DeviceLine::Command> commands_;
    std::thread thread_;
};

// Longer fault and attack runs when TRELD_E2E_LONG is set: `normal` or `long`.
template <typename T>
T normalOrLong(T normal, T longer) {
    return std::getenv("TRELD_E2E_LONG") != nullptr ? longer : normal;
}

// A TCP port below 32768 that nothing listens on right now.
int freeTcpPort();

}  // namespace treld::e2e
