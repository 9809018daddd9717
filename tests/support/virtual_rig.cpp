#include "support/virtual_rig.h"

#include "line_reader.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <ranges>

namespace treld::testing {
std::string statusRecord(std::initializer_list<std::pair<int, char>> set) {
    std::string record = kSasReply;
    for (auto [position, ch] : set)
        record[position - 1] = ch;
    return record;
}

std::vector<Texts> everyArrival(const std::string& reply, const std::string& more) {
    std::vector<Texts> ways = {{reply}, {}, {reply + more}};
    for (std::size_t i = 0; i < reply.size(); ++i) {
        ways[1].push_back(reply.substr(i, 1));
        if (i > 0)
            ways.push_back({reply.substr(0, i), reply.substr(i)});
    }
    return ways;
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

// The device answering each command line through `receive`, under the line's faults.
std::function<void(std::string_view)> VirtualRig::device(
    void (Monitor::*receive)(std::string_view)) {
    return [this, receive, reader = std::make_shared<sts::LineReader>()](std::string_view text) {
        for (const sts::LineReader::Line& command : reader->feed(text)) {
            const auto fault = faults.find(command.text);
            const sts::LinkFaults& faulted = fault != faults.end() ? fault->second : line;
            if (faulted.cut)
                continue;  // never reaches the device
            const std::string& reply = replied[command.text] =
                sts.handle(command.text, now()).value_or("");
            std::vector<sts::TimedWrite> writes = shaper_.shape(reply, faulted, now());
            if (const auto scripted = arrivals.find(command.text); scripted != arrivals.end()) {
                writes.clear();
                for (const std::string& piece : scripted->second)
                    writes.push_back({now() + line.delayMs + std::int64_t(writes.size()), piece});
            }
            for (sts::TimedWrite& write : writes)
                at(write.due,
                   [this, receive, bytes = std::move(write.bytes)] { (monitor.*receive)(bytes); });
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
        writes +=
            name == kReceiveIndicator.name || name == kSendIndicator.name ? 0 : element.writes();
    return writes;
}

int VirtualRig::ask(std::string_view text) {
    monitor.onRelayConnectionRequest();
    monitor.onRelayData(platform.acceptedSlots.back(), text);
    return platform.acceptedSlots.back();
}

}  // namespace treld::testing
