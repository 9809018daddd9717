#include "support/fake_platform.h"

#include <chrono>

namespace treld::testing {

void FakePlatform::startTimer(TimerId id, int intervalMs) {
    Timer& t = timer(id);
    t.running = intervalMs > 0;
    t.intervalMs = intervalMs;
    t.dueMs = nowMs + intervalMs;
}

void FakePlatform::stopTimer(TimerId id) {
    timer(id).running = false;
}

bool FakePlatform::openSerialPort(int port) {
    if (!serialOpens)
        return false;
    openedSerialPort = port;
    return true;
}

bool FakePlatform::writeSerial(std::string_view text) {
    if (serialWritesFail || openedSerialPort == 0)
        return false;
    serialWrites.push_back({nowMs, std::string(text)});
    if (onSerialWrite)
        onSerialWrite(text);
    return true;
}

void FakePlatform::connectRemote(const std::string& host, int port) {
    remoteConnects.emplace_back(host, port);
}

void FakePlatform::sendRemote(std::string_view text) {
    remoteSends.push_back({nowMs, std::string(text)});
}

void FakePlatform::closeRemote() {
    ++remoteCloses;
}

bool FakePlatform::listenRelay(int port) {
    relayListenPort = port;
    return relayListens;
}

bool FakePlatform::acceptRelay(int slot) {
    acceptedSlots.push_back(slot);
    return true;
}

bool FakePlatform::sendRelay(int slot, std::string_view text) {
    relaySends[slot].emplace_back(text);
    return true;
}

void FakePlatform::closeRelay(int slot) {
    closedSlots.push_back(slot);
}

bool FakePlatform::startProgram(const std::string& path, const std::string& argument) {
    if (!programsStart)
        return false;
    startedPrograms.push_back({path, argument});
    return true;
}

LocalDateTime FakePlatform::now() {
    using namespace std::chrono;
    const LocalDateTime& base = wallClockAtStart;
    const sys_days startDay =
        year_month_day{year{base.year}, month{unsigned(base.month)}, day{unsigned(base.day)}};
    const sys_seconds start =
        startDay + hours{base.hour} + minutes{base.minute} + seconds{base.second};
    const sys_seconds at = start + seconds{nowMs / 1000 + clockOffsetSeconds};
    const sys_days atDay = floor<days>(at);
    const year_month_day date{atDay};
    const hh_mm_ss time{at - atDay};

    LocalDateTime result;
    result.year = int(date.year());
    result.month = int(unsigned(date.month()));
    result.day = int(unsigned(date.day()));
    result.hour = int(time.hours().count());
    result.minute = int(time.minutes().count());
    result.second = int(time.seconds().count());
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", result.day, result.month, result.year);
    result.shortDate = text;
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", result.hour, result.minute, result.second);
    result.longTime = text;
    result.epochSeconds = at.time_since_epoch().count() - utcOffsetSeconds;
    result.utcOffsetSeconds = utcOffsetSeconds;
    return result;
}

}  // namespace treld::testing
