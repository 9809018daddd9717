// Faults on the serial line and in the program directory, against the real
// treld: it keeps running, stays small, keeps polling in order once the line
// is healthy again, and leaves its files whole.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

// A generous ceiling for the headless monitor: a buffer that kept the 10 MB
// flood would pass it.
constexpr long kPeakResidentLimitKiB = 200 * 1024;
const std::string kConfig = "COMPORT:1\r\nTIMEOUT:500\r\n";

class SerialFaults : public ::testing::Test {
  protected:
    void SetUp() override { monitor = startMonitor(dir, line, kConfig); }

    // Answers `count` commands as a healthy device and expects them in cycle
    // order, each promptly after the previous reply: nothing of the fault
    // is left in the monitor's buffers.
    void expectHealthyCycle(int count) {
        static const std::vector<std::string> kCycle = {"SRV", "OPL", "SST", "SAS",
                                                        "FIR", "CLK", "DAT"};
        auto command = line.nextCommand(10s);
        ASSERT_TRUE(command) << "no command after the fault";
        auto position = std::find(kCycle.begin(), kCycle.end(), command->text);
        ASSERT_NE(position, kCycle.end()) << command->text;
        for (int i = 0; i < count; ++i) {
            line.send(healthyDeviceReply(command->text));
            const auto next = line.nextCommand(2s);
            ASSERT_TRUE(next) << "the reply to " << command->text << " was not taken";
            if (++position == kCycle.end())
                position = kCycle.begin();
            EXPECT_EQ(next->text, *position);
            command = next;
        }
    }

    // Every line of the PC event files is whole, and sts.cfg is as written.
    void expectFilesIntact() {
        EXPECT_EQ(dir.read("sts.cfg"), kConfig);
        const auto folder = dir.path() / "SERLOGS";
        if (!std::filesystem::is_directory(folder))
            return;
        for (const auto& file : std::filesystem::directory_iterator(folder)) {
            const std::string text = dir.read("SERLOGS/" + file.path().filename().string());
            EXPECT_TRUE(text.empty() || text.ends_with("\r\n")) << file.path();
            EXPECT_EQ(text.find('\0'), std::string::npos) << file.path();
        }
    }

    void expectRunningAndSmall() {
        ASSERT_TRUE(monitor->running());
        std::printf("%s: peak RSS %ld KiB\n",
                    ::testing::UnitTest::GetInstance()->current_test_info()->name(),
                    monitor->peakResidentKiB());
        EXPECT_LT(monitor->peakResidentKiB(), kPeakResidentLimitKiB);
    }

    ProgramDir dir;
    DeviceLine line;
    std::unique_ptr<Process> monitor;
};

TEST_F(SerialFaults, DeviceVanishingMidReplyForGoodLeavesAnIdleRunningMonitor) {
    ASSERT_TRUE(line.nextCommand(5s));
    line.send("#230 231 2");
    line.hangUp();
    const double cpuBefore = monitor->cpuSeconds();
    std::this_thread::sleep_for(6s);
    expectRunningAndSmall();
    // A hung-up line must not make the monitor spin.
    EXPECT_LT(monitor->cpuSeconds() - cpuBefore, 3.0);
    expectFilesIntact();
}

TEST_F(SerialFaults, RepliesInOneByteChunksAreEachTakenOnce) {
    const auto duration = normalOrLong(10s, 60s);
    const auto end = Clock::now() + duration;
    int exchanges = 0;
    auto command = line.nextCommand(5s);
    ASSERT_TRUE(command);
    while (Clock::now() < end) {
        for (char character : healthyDeviceReply(command->text)) {
            line.send(std::string(1, character));
            std::this_thread::sleep_for(1ms);
        }
        const auto next = line.nextCommand(2s);
        ASSERT_TRUE(next) << "reply to " << command->text << " not taken after " << exchanges
                          << " exchanges";
        ++exchanges;
        command = next;
    }
    std::printf("one-byte chunks: %d replies in %llds\n", exchanges,
                static_cast<long long>(duration.count()));
    expectRunningAndSmall();
    expectFilesIntact();
}

TEST_F(SerialFaults, TenMegabytesWithoutACrTimeOutAndTheCycleGoesOn) {
    ASSERT_TRUE(line.nextCommand(5s));
    const std::string block(64 * 1024, '7');
    for (int sent = 0; sent < 10 * 1024 * 1024; sent += int(block.size()))
        line.send(block);
    expectRunningAndSmall();
    expectHealthyCycle(10);
    expectFilesIntact();
}

TEST_F(SerialFaults, LateRepliesOfEarlierCommandsDoNotDesynchroniseTheCycle) {
    // For a while the device answers every command too late, with the reply
    // of the command before it.
    std::string previous = "SRV";
    for (int i = 0; i < 4; ++i) {
        const auto command = line.nextCommand(8s);
        ASSERT_TRUE(command);
        std::this_thread::sleep_for(700ms);
        line.send(healthyDeviceReply(previous));
        previous = command->text;
    }
    expectRunningAndSmall();
    expectHealthyCycle(10);
    expectFilesIntact();
}

TEST(SerialFaultsInProgramDir, EventFolderThatCannotBeWrittenStopsNothing) {
    ProgramDir dir;
    DeviceLine line;
    // A plain file where the folder should be: no one, root included, can
    // create a month file in it.
    std::filesystem::remove_all(dir.path() / "SERLOGS");
    dir.write("SERLOGS", "not a folder");
    const auto monitor = startMonitor(dir, line, kConfig);
    // An alarm in the status reply makes the monitor want to log it.
    DevicePlayer device(line, [](const std::string& command) {
        return command == "SAS" ? "#11111111 11111111 11111111 11111111 11111\r"
                                : healthyDeviceReply(command);
    });
    std::this_thread::sleep_for(4s);
    ASSERT_TRUE(monitor->running());
    EXPECT_LT(monitor->peakResidentKiB(), kPeakResidentLimitKiB);
    EXPECT_EQ(dir.read("SERLOGS"), "not a folder");
    const auto commands = device.commands();
    EXPECT_GT(device.pollCommandsBetween(Clock::now() - 2s, Clock::now()), 7)
        << "polling stopped after " << commands.size() << " commands";
}

}  // namespace
}  // namespace treld::e2e
