// What the benchmarks read back: the broker's messages as a mosquitto_sub with
// -F '%U %t %p' wrote them (arrival time, topic, payload), and percentiles.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace treld::bench {

using WallClock = std::chrono::system_clock;

struct Message {
    WallClock::time_point at;
    std::string topic;
    std::string payload;
};

inline std::vector<Message> readMessages(const std::filesystem::path& file) {
    std::vector<Message> messages;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        double seconds = 0;
        Message message;
        fields >> seconds >> message.topic;
        std::getline(fields >> std::ws, message.payload);
        message.at = WallClock::time_point(std::chrono::duration_cast<WallClock::duration>(
            std::chrono::duration<double>(seconds)));
        messages.push_back(std::move(message));
    }
    return messages;
}

inline double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

}  // namespace treld::bench
