#include "support/virtual_rig.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <ranges>

namespace treld::testing {
std::string statusRecord(std::initializer_list<std::pair<int, char>> set) {
    std::string record = kSasReply;
    for (auto [position, ch] : set)
        record[position - 1] = ch;
    return record;
}

std::optional<DeviceReply> FakeSts::operator()(const std::string& command) {
    static const std::map<std::string, std::string> kPoll = {
        {"SRV", kSrvReply},     {"OPL", "#045 050 055 010 011 012 035 002\r"},
        {"SST", "#000\r"},      {"FIR", "STS V2.07\r"},
        {"CLK", "#14:05:10\r"}, {"DAT", "#05/12/26\r"}};
    if (replies.contains(command))
        return replies.at(command);
    if (command == "P1234" || command == "U1234")
        status[command[0] == 'P' ? 39 : 41] = '1';
    if (command.starts_with("W0") && command.size() >= 8)
        options.at(std::stoi(command.substr(2, 3)) - 32) = std::stoi(command.substr(5, 3));
    if (command.starts_with("M00"))
        return DeviceReply{"#" + threeDigits(options.at(std::stoi(command.substr(3)) - 32)) + "\r"};
    if (command.starts_with("LOG"))
        return DeviceReply{"$003 000 000 000 010 " + command.substr(3) + " 001 002 007\r"};
    return DeviceReply{command == "SAS"          ? status
                       : kPoll.contains(command) ? kPoll.at(command)
                                                 : "OK\r"};
}

VirtualRig::VirtualRig(const std::string& config)
    : programDir(
          mkdtemp((std::filesystem::temp_directory_path() / "treld-test-XXXXXX").string().data())),
      monitor(platform, programDir) {
    writeFile("sts.cfg", config);
    platform.onSerialWrite = device(&Monitor::onSerialData);
    platform.onRemoteSend = device(&Monitor::onRemoteData);
    platform.onRemoteConnect = [this] { at(now() + 1, [this] { monitor.onRemoteConnected(); }); };
    platform.onWatchedStart = [this] {
        if (mailRunMs >= 0)
            at(now() + mailRunMs, [this] { monitor.onMailProgramEnded(0); });
    };
}

// The device answering a command that ends in CR through `receive`.
std::function<void(std::string_view)> VirtualRig::device(
    void (Monitor::*receive)(std::string_view)) {
    return [this, receive](std::string_view frame) {
        const auto reply = sts(std::string(frame.substr(0, frame.size() - 1)));
        if (!reply)
            return;
        const std::size_t size = reply->chunkSize > 0 ? reply->chunkSize : reply->text.size();
        std::int64_t when = now() + reply->delayMs;
        for (std::size_t offset = 0; offset < reply->text.size(); offset += size, ++when) {
            at(when, [this, receive, chunk = reply->text.substr(offset, size)] {
                (monitor.*receive)(chunk);
            });
        }
    };
}

void VirtualRig::writeFile(const std::string& name, const std::string& text) {
    std::ofstream(programDir / name, std::ios::binary) << text;
}

std::string VirtualRig::readFile(const std::string& name) const {
    std::ifstream in(programDir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool VirtualRig::runNextEvent(std::int64_t limitMs) {
    if (++eventsRun_ > 1'000'000)
        throw std::runtime_error("virtual time: too many events");
    std::int64_t next = events_.empty() ? limitMs + 1 : events_.begin()->first;
    int timerIndex = -1;
    for (int i = 0; i < kTimerCount; ++i) {
        if (platform.timers[i].running && platform.timers[i].dueMs < next) {
            next = platform.timers[i].dueMs;
            timerIndex = i;
        }
    }
    if (next > limitMs)
        return false;
    platform.nowMs = std::max(platform.nowMs, next);
    if (timerIndex >= 0) {
        platform.timers[timerIndex].dueMs = now() + platform.timers[timerIndex].intervalMs;
        monitor.onTimer(static_cast<TimerId>(timerIndex));
    } else {
        const auto event = events_.extract(events_.begin());
        event.mapped()();
    }
    return true;
}

void VirtualRig::advance(std::int64_t ms) {
    const std::int64_t limit = now() + ms;
    while (runNextEvent(limit)) {
    }
    platform.nowMs = limit;
}

void VirtualRig::runUntil(const std::function<bool()>& done, std::int64_t limitMs) {
    const std::int64_t limit = now() + limitMs;
    while (!done()) {
        if (!runNextEvent(limit)) {
            ADD_FAILURE() << "condition not reached within " << limitMs << " ms";
            return;
        }
    }
}

void VirtualRig::runPast(const std::string& command) {
    const auto target = std::ranges::count(commandsSent(), command) + 1;
    runUntil([&] { return std::ranges::count(commandsSent(), command) >= target; });
    runUntilSent(platform.serialWrites.size() + 1);
}

std::string VirtualRig::answer(bool yes) {
    const std::vector<MessageBoxRequest> messages = monitor.ui().takeMessages();
    for (const MessageBoxRequest& m : messages | std::views::reverse) {
        if (!m.question.empty()) {
            monitor.answer(m.owner, m.question, yes);
            return m.text;
        }
    }
    return "";
}

Texts VirtualRig::commandsSent() const {
    Texts commands;
    for (const WireRecord& write : platform.serialWrites)
        commands.push_back(write.text.substr(0, write.text.size() - 1));
    return commands;
}

int VirtualRig::writesTo(Form form) {
    int writes = 0;
    for (const auto& [name, element] : monitor.ui().elements(form))
        writes += name == "Label50" || name == "Label56" ? 0 : element.writes();
    return writes;
}

int VirtualRig::ask(std::string_view text) {
    monitor.onRelayConnectionRequest();
    monitor.onRelayData(platform.acceptedSlots.back(), text);
    return platform.acceptedSlots.back();
}

}  // namespace treld::testing
