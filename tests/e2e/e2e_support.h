// End-to-end helpers: real programs in a temporary program directory, a
// pseudo-terminal the test plays the device on, and wall-clock waiting.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
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

}  // namespace treld::e2e
