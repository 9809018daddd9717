// A device that keeps thirteen option values, accepts option writes and
// answers everything else as the answering measurement device does.
#pragma once

#include <array>
#include <set>

#include "link/numeric.h"
#include "support/virtual_rig.h"

namespace treld::testing {

struct ScriptedSts {
    std::array<int, 13> options{};
    std::set<std::string> silentOn;  // commands left without an answer

    std::optional<DeviceReply> operator()(const std::string& command) {
        if (silentOn.contains(command))
            return std::nullopt;
        if (command.starts_with("M00"))
            return DeviceReply{"#" + threeDigits(options.at(std::stoi(command.substr(3)) - 32)) +
                               "\r"};
        if (command.starts_with("W0") && command.size() >= 8) {
            options.at(std::stoi(command.substr(2, 3)) - 32) = std::stoi(command.substr(5, 3));
            return DeviceReply{"OK\r"};
        }
        return answeringDevice(command);
    }
};

inline bool lastSent(VirtualRig& rig, const std::string& command) {
    const auto sent = rig.commandsSent();
    return !sent.empty() && sent.back() == command;
}

}  // namespace treld::testing
