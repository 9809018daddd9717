// A device that keeps thirteen option values, accepts option writes and a
// login, and answers everything else as the answering measurement device does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "foundation/numeric.h"
#include "support/virtual_rig.h"

namespace treld::testing {

using Commands = std::vector<std::string>;

struct ScriptedSts {
    std::array<int, 13> options{};
    std::set<std::string> silentOn;  // commands left without an answer
    std::string status = kSasReply;  // answer to "SAS"
    int statusDelayMs = 20;

    std::optional<DeviceReply> operator()(const std::string& command) {
        if (silentOn.contains(command))
            return std::nullopt;
        if (command == "P1234" || command == "U1234")  // then a service login (position 40)
            status = "#00000000 00000000 00000000 00000000 00100\r";
        if (command == "SAS")
            return DeviceReply{status, statusDelayMs};
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

// A monitor on a line to a ScriptedSts, showing tab `tab` (negative: none).
class DeviceTest : public ::testing::Test {
  protected:
    void start(int tab) {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        rig.device = std::ref(sts);
        rig.start();
        if (tab >= 0)
            rig.monitor.select(Form::Form1, "SSTab1", tab);
    }
    Core& core() { return rig.monitor.core(); }
    Element& element(const std::string& name, Form form = Form::Form1) {
        return rig.monitor.ui()(form, name);
    }
    Commands sentFrom(std::size_t first) {
        const Commands sent = rig.commandsSent();
        return Commands(sent.begin() + static_cast<long>(first), sent.end());
    }
    bool lastSent(const std::string& command) {
        const Commands sent = rig.commandsSent();
        return !sent.empty() && sent.back() == command;
    }

    VirtualRig rig;
    ScriptedSts sts;
};

}  // namespace treld::testing
