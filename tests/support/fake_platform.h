// A platform whose clock moves only when a test says so. It records what the
// monitor core does to the outside world and lets the test play the other side.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "foundation/platform.h"

namespace treld::testing {

struct WireRecord {
    std::int64_t atMs;
    std::string text;
};

struct StartedProgram {
    std::string path;
    std::string argument;
    bool operator==(const StartedProgram&) const = default;
};

class FakePlatform : public Platform {
  public:
    struct Timer {
        bool running = false;
        int intervalMs = 0;
        std::int64_t dueMs = 0;
    };

    std::int64_t nowMs = 0;
    // Wall-clock time at virtual time 0, moved by clockOffsetSeconds.
    LocalDateTime wallClockAtStart{2026, 12, 5, 14, 5, 0, "", ""};
    std::int64_t clockOffsetSeconds = 0;
    // Local time minus UTC.
    int utcOffsetSeconds = 0;

    std::array<Timer, kTimerCount> timers{};

    bool serialOpens = true;
    bool serialWritesFail = false;
    int openedSerialPort = 0;
    std::vector<WireRecord> serialWrites;

    std::vector<std::pair<std::string, int>> remoteConnects;
    std::vector<WireRecord> remoteSends;
    int remoteCloses = 0;

    bool relayListens = true;
    int relayListenPort = 0;
    std::vector<int> acceptedSlots;
    std::map<int, std::vector<std::string>> relaySends;
    std::vector<int> closedSlots;

    std::vector<StartedProgram> startedPrograms;
    bool programsStart = true;
    bool exitRequested = false;

    Timer& timer(TimerId id) { return timers[static_cast<int>(id)]; }

    void startTimer(TimerId id, int intervalMs) override;
    void stopTimer(TimerId id) override;
    bool openSerialPort(int port) override;
    bool writeSerial(std::string_view text) override;
    void connectRemote(const std::string& host, int port) override;
    void sendRemote(std::string_view text) override;
    void closeRemote() override;
    bool listenRelay(int port) override;
    bool acceptRelay(int slot) override;
    bool sendRelay(int slot, std::string_view text) override;
    void closeRelay(int slot) override;
    bool startProgram(const std::string& path, const std::string& argument) override;
    LocalDateTime now() override;
    void exitProgram() override { exitRequested = true; }

    // Called on every serial write, so the test's device can answer.
    std::function<void(std::string_view frame)> onSerialWrite;
};

}  // namespace treld::testing
