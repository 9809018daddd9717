#include "support/virtual_rig.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

namespace treld::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "treld-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

VirtualRig::VirtualRig() : monitor(platform, programDir.path()) {
    platform.onSerialWrite = [this](std::string_view frame) {
        if (!device)
            return;
        std::string command(frame);
        if (!command.empty() && command.back() == '\r')
            command.pop_back();
        const std::optional<DeviceReply> reply = device(command);
        if (!reply)
            return;
        std::vector<int> sizes = reply->chunkSizes;
        if (sizes.empty())
            sizes.push_back(static_cast<int>(reply->text.size()));
        std::size_t offset = 0;
        std::int64_t when = platform.nowMs + reply->delayMs;
        for (int size : sizes) {
            const std::string chunk = reply->text.substr(offset, size);
            offset += chunk.size();
            at(when, [this, chunk] { monitor.onSerialData(chunk); });
            when += reply->chunkGapMs;
        }
    };
}

void VirtualRig::writeConfig(const std::string& text) {
    writeProgramFile("sts.cfg", text);
}

void VirtualRig::writeProgramFile(const std::string& name, const std::string& text) {
    std::ofstream(programDir.path() / name, std::ios::binary) << text;
}

void VirtualRig::at(std::int64_t atMs, std::function<void()> event) {
    events_.emplace(atMs, std::move(event));
}

bool VirtualRig::runNextEvent(std::int64_t limitMs) {
    if (++eventsRun_ > 1'000'000)
        throw std::runtime_error("virtual time: too many events");
    std::int64_t next = limitMs + 1;
    int timerIndex = -1;
    if (!events_.empty())
        next = events_.begin()->first;
    for (int i = 0; i < kTimerCount; ++i) {
        const FakePlatform::Timer& t = platform.timers[i];
        if (t.running && t.dueMs < next) {
            next = t.dueMs;
            timerIndex = i;
        }
    }
    if (next > limitMs)
        return false;
    platform.nowMs = std::max(platform.nowMs, next);
    if (timerIndex >= 0) {
        FakePlatform::Timer& t = platform.timers[timerIndex];
        t.dueMs = platform.nowMs + t.intervalMs;
        monitor.onTimer(static_cast<TimerId>(timerIndex));
    } else {
        auto event = std::move(events_.begin()->second);
        events_.erase(events_.begin());
        event();
    }
    return true;
}

void VirtualRig::advance(std::int64_t ms) {
    const std::int64_t limit = platform.nowMs + ms;
    while (runNextEvent(limit)) {
    }
    platform.nowMs = limit;
}

bool VirtualRig::runUntil(const std::function<bool()>& done, std::int64_t limitMs) {
    const std::int64_t limit = platform.nowMs + limitMs;
    while (!done()) {
        if (!runNextEvent(limit)) {
            ADD_FAILURE() << "condition not reached within " << limitMs << " ms";
            return false;
        }
    }
    return true;
}

std::vector<std::string> VirtualRig::commandsSent() const {
    std::vector<std::string> commands;
    for (const WireRecord& write : platform.serialWrites) {
        std::string command = write.text;
        if (!command.empty() && command.back() == '\r')
            command.pop_back();
        commands.push_back(command);
    }
    return commands;
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<DeviceReply> answeringDevice(const std::string& command) {
    if (command == "SRV")
        return DeviceReply{kSrvReply};
    if (command == "OPL")
        return DeviceReply{kOplReply};
    if (command == "SST")
        return DeviceReply{"#000\r"};
    if (command == "SAS")
        return DeviceReply{kSasReply};
    if (command == "FIR")
        return DeviceReply{"STS V2.07\r"};
    if (command == "CLK")
        return DeviceReply{"#14:05:10\r"};
    if (command == "DAT")
        return DeviceReply{"#05/12/26\r"};
    return DeviceReply{"OK\r"};
}

std::function<std::optional<DeviceReply>(const std::string&)> answeringExcept(
    std::map<std::string, std::optional<DeviceReply>> special) {
    return [special = std::move(special)](const std::string& command) {
        const auto found = special.find(command);
        return found != special.end() ? found->second : answeringDevice(command);
    };
}

}  // namespace treld::testing
