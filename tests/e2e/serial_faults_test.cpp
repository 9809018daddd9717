// Faults on the serial line and in the program directory, against the real
// treld: it keeps running, stays small, keeps polling in order once the line
// is healthy again, changes none of its files, and idles once the device is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

TEST(SerialFaults, OneByteChunksAFloodAnUnwritableLogFolderAndAVanishingDevice) {
    const std::vector<std::string> cycle = {"SRV", "OPL", "SST", "SAS", "FIR", "CLK", "DAT"};
    const std::string config = "COMPORT:1\r\nTIMEOUT:500\r\n";
    ProgramDir dir;
    // A plain file where the folder should be: no one, root included, can
    // create a month file in it; the device reports an alarm to be logged.
    std::filesystem::remove_all(dir.path() / "SERLOGS");
    dir.write("SERLOGS", "not a folder");
    auto reply = [](const std::string& command) {
        return command == "SAS" ? "#11111111 11111111 11111111 11111111 11111\r"
                                : healthyDeviceReply(command);
    };
    DeviceLine line;
    const auto monitor = startMonitor(dir, line.monitorEnd(), config);

    // Answers `count` commands, `chunk` characters at a time, and expects them
    // in cycle order each soon after the reply before: nothing of a fault is
    // left in the monitor's buffers.
    auto expectHealthyCycle = [&](int count, std::size_t chunk) {
        auto command = line.nextCommand(10s);
        ASSERT_TRUE(command) << "no command after the fault";
        auto position = std::ranges::find(cycle, command->text);
        ASSERT_NE(position, cycle.end()) << command->text;
        for (int i = 0; i < count; ++i) {
            const std::string text = reply(command->text);
            for (std::size_t at = 0; at < text.size(); at += chunk) {
                line.send(text.substr(at, chunk));
                std::this_thread::sleep_for(chunk == 1 ? 1ms : 0ms);
            }
            command = line.nextCommand(2s);
            ASSERT_TRUE(command) << "the reply to " << *position << " was not taken";
            if (++position == cycle.end())
                position = cycle.begin();
            EXPECT_EQ(command->text, *position);
        }
    };
    expectHealthyCycle(normalOrLong(50, 1000), 1);
    const std::string block(64 * 1024, '7');
    for (int sent = 0; sent < 10 * 1024 * 1024; sent += int(block.size()))
        line.send(block);
    expectHealthyCycle(10, 64);

    ASSERT_TRUE(monitor->running());
    std::printf("peak RSS %ld KiB\n", monitor->peakResidentKiB());
    EXPECT_LT(monitor->peakResidentKiB(), 200 * 1024);
    EXPECT_EQ(dir.read("SERLOGS") + dir.read("sts.cfg"), "not a folder" + config);

    ASSERT_TRUE(line.nextCommand(5s));
    line.send("#230 231 2");  // and the device vanishes mid-reply, for good
    line.hangUp();
    const double cpuBefore = monitor->cpuSeconds();
    std::this_thread::sleep_for(6s);
    EXPECT_TRUE(monitor->running());
    EXPECT_LT(monitor->cpuSeconds() - cpuBefore, 3.0) << "a hung-up line must not make it spin";
}

}  // namespace
}  // namespace treld::e2e
