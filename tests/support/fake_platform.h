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
    int utcOffsetSeconds = 0;  // local time minus UTC
    std::array<Timer, kTimerCount> timers{};

    bool serialOpens = true, serialOpen = false, serialWritesFail = false;
    std::vector<WireRecord> serialWrites;
    std::vector<std::pair<std::string, int>> remoteConnects;
    int remoteCloses = 0;
    std::vector<int> acceptedSlots, closedSlots;
    std::string relayPeer = "127.0.0.1";  // the address of the next relay client
    std::map<int, std::vector<std::string>> relaySends;
    std::vector<std::pair<std::string, std::string>> startedPrograms;  // path, argument
    bool programsStart = true;
    std::function<void()> onWatchedStart = [] {};

    // The far ends: the device hears each serial write, the remote station's
    // relay server each connection and each text sent to it.
    std::function<void(std::string_view)> onSerialWrite = [](auto) {}, onRemoteSend = onSerialWrite;
    std::function<void()> onRemoteConnect = [] {};

    void startTimer(TimerId id, int ms) override { timers[int(id)] = {ms > 0, ms, nowMs + ms}; }
    void stopTimer(TimerId id) override { timers[int(id)].running = false; }
    bool openSerialPort(int) override { return serialOpen = serialOpens; }
    void closeSerialPort() override { serialOpen = false; }
    bool writeSerial(std::string_view text) override {
        if (serialWritesFail || !serialOpen)
            return false;
        serialWrites.push_back({nowMs, std::string(text)});
        onSerialWrite(text);
        return true;
    }
    void connectRemote(const std::string& host, int port) override {
        remoteConnects.emplace_back(host, port);
        onRemoteConnect();
    }
    void sendRemote(std::string_view text) override { onRemoteSend(text); }
    void closeRemote() override { ++remoteCloses; }
    bool relayListens = true;  // false: the port is taken
    std::vector<std::string> listenAddresses;
    bool listenRelay(int, const std::string& address) override {
        listenAddresses.push_back(address);
        return relayListens;
    }
    std::optional<std::string> acceptRelay(int slot) override {
        acceptedSlots.push_back(slot);
        relaySends[slot].clear();  // what the slot's earlier client got
        return relayPeer;
    }
    bool sendRelay(int slot, std::string_view text) override {
        relaySends[slot].emplace_back(text);
        return true;
    }
    void closeRelay(int slot) override { closedSlots.push_back(slot); }
    bool startProgram(const std::string& path, const std::string& argument) override {
        if (programsStart)
            startedPrograms.emplace_back(path, argument);
        return programsStart;
    }
    bool startWatchedProgram(const std::string& path, const std::string& argument) override {
        return startProgram(path, argument) && (onWatchedStart(), true);
    }
    // Deliveries: each is answered by `deliver` (after its time-out at most).
    struct Sent {
        int id;
        std::int64_t atMs;
        OutgoingRequest request;  // a program's: its path as url, its environment as headers
    };
    std::vector<Sent> deliveries;
    std::function<void(const Sent&)> deliver = [](auto) {};
    void sendHttp(int id, const OutgoingRequest& request) override {
        deliver(deliveries.emplace_back(Sent{id, nowMs, request}));
    }
    void runProgram(int id, const std::string& path, const Pairs& environment,
                    int timeoutMs) override {
        sendHttp(id, {"RUN", path, environment, "", "", timeoutMs});
    }
    bool fileWritesFail = false;
    bool replaceFile(const std::filesystem::path& file, std::string_view content) override;
    LocalDateTime now() override;
    std::vector<std::string> stderrLines;
    void writeStderr(std::string_view line) override { stderrLines.emplace_back(line); }
    int exits = 0;
    void exitProgram() override { ++exits; }
};

}  // namespace treld::testing
