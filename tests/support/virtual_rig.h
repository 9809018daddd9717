// Drives a Monitor on a FakePlatform through virtual time: timers fire and
// scripted device replies arrive in time order, and a 3 s wait costs nothing.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conductor/monitor.h"
#include "support/fake_platform.h"

namespace treld::testing {

using Texts = std::vector<std::string>;

// How the simulated device answers one command.
struct DeviceReply {
    DeviceReply(std::string text, int delayMs = 20, std::vector<int> chunkSizes = {})
        : text(std::move(text)), delayMs(delayMs), chunkSizes(std::move(chunkSizes)) {}

    std::string text;             // with its CR, or without one to leave it unfinished
    int delayMs;                  // from the write to the first character
    std::vector<int> chunkSizes;  // split the text; empty: one piece
    int chunkGapMs = 1;
};

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class VirtualRig {
  public:
    VirtualRig();

    TempDir programDir;
    FakePlatform platform;
    Monitor monitor;

    // The device on the serial line: gets each command without its framing
    // CR and returns its answer, or nothing to stay silent. Unset: silent.
    std::function<std::optional<DeviceReply>(const std::string& command)> device;

    // Writes sts.cfg in the program directory before start().
    void writeConfig(const std::string& text);
    // Writes any file of the program directory (DEMOSET.CFG ...).
    void writeProgramFile(const std::string& name, const std::string& text);
    void start() { monitor.start(); }

    void at(std::int64_t atMs, std::function<void()> event);
    void advance(std::int64_t ms);
    // Runs until `done` holds after an event; fails the test past `limitMs`.
    bool runUntil(const std::function<bool()>& done, std::int64_t limitMs);
    // Runs until `count` commands have gone out on the serial line.
    bool runUntilSent(std::size_t count, std::int64_t limitMs = 10'000) {
        return runUntil([&] { return platform.serialWrites.size() >= count; }, limitMs);
    }

    std::int64_t now() const { return platform.nowMs; }
    const std::string& caption(std::string_view name) {
        return monitor.ui()(Form::Form1, name).caption();
    }
    // The commands written to the serial port so far, without their final CR.
    std::vector<std::string> commandsSent() const;

  private:
    bool runNextEvent(std::int64_t limitMs);

    std::multimap<std::int64_t, std::function<void()>> events_;
    int eventsRun_ = 0;
};

// The whole content of a file; empty when it cannot be read.
std::string fileText(const std::filesystem::path& file);

// A device that answers every measurement-cycle command at once.
std::optional<DeviceReply> answeringDevice(const std::string& command);
// answeringDevice, except for the commands in `special`: their reply, or
// silence where it is std::nullopt.
std::function<std::optional<DeviceReply>(const std::string&)> answeringExcept(
    std::map<std::string, std::optional<DeviceReply>> special);

inline constexpr const char* kSrvReply = "#230 231 229 228 230 232 0500 0499\r";
inline constexpr const char* kOplReply = "#045 050 055 010 011 012 035 002\r";
inline constexpr const char* kSasReply = "#00000000 00000000 00000000 00000000 00000\r";

}  // namespace treld::testing
