// Faults seen from inside the monitor: what the status line says while the
// line misbehaves, a clock that jumps, and a disk that fills during a save.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <sstream>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

struct LineFault {
    const char* name;
    std::function<std::optional<DeviceReply>(const std::string&)> device;
    bool writesFail;
    const char* statusLine;
};

std::optional<DeviceReply> inOneByteChunks(const std::string& command) {
    auto reply = answeringDevice(command);
    reply->chunkSizes.assign(reply->text.size(), 1);
    return reply;
}

TEST(Faults, StatusLineTellsWhatTheLineIsDoing) {
    const std::string flood(10 * 1024 * 1024, '7');
    const LineFault kFaults[] = {
        {"device silent for good", [](const std::string&) { return std::nullopt; }, false,
         "Time out on com1"},
        {"device gone, writes fail", answeringDevice, true, "COM 1 Not opened select another port"},
        {"10 MB without CR",
         [&](const std::string&) {
             return DeviceReply{flood, 20, {}};
         },
         false, "Time out on com1"},
        {"reply cut off mid-way", [](const std::string&) { return DeviceReply{"#230 231 2"}; },
         false, "Time out on com1"},
        {"one-byte chunks", inOneByteChunks, false, "Data OK"},
    };
    for (const LineFault& fault : kFaults) {
        VirtualRig rig;
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:500\r\n");
        rig.start();
        rig.device = answeringDevice;
        rig.advance(1000);
        rig.device = fault.device;
        rig.platform.serialWritesFail = fault.writesFail;
        // Past the SRV evaluation, whatever the fault did to the cycle.
        rig.advance(8000);
        rig.runUntil([&] { return rig.monitor.core().s.PollStep == 3; }, 20000);
        EXPECT_EQ(rig.caption("Label40"), fault.statusLine) << fault.name;
        EXPECT_LE(rig.monitor.core().s.ReceiveBuffer.size(), kReceiveLimit) << fault.name;
    }
}

// Commands sent in the next `ms` of virtual time.
std::size_t commandsWithin(VirtualRig& rig, std::int64_t ms) {
    const std::size_t before = rig.platform.serialWrites.size();
    rig.advance(ms);
    return rig.platform.serialWrites.size() - before;
}

TEST(Faults, ClockJumpsNeitherStallNorRushThePollCycle) {
    VirtualRig rig;
    rig.writeConfig("COMPORT:1\r\nTIMEOUT:500\r\n");
    rig.device = answeringDevice;
    rig.start();
    rig.advance(1000);
    const std::size_t steady = commandsWithin(rig, 10000);
    for (std::int64_t jump : {-7200, 40 * 86400, -366 * 86400}) {
        rig.platform.clockOffsetSeconds += jump;
        const std::size_t afterJump = commandsWithin(rig, 10000);
        EXPECT_NEAR(double(afterJump), double(steady), double(steady) / 10) << jump;
        // Synchronize sends the date as the clock now reads it (with the
        // command's own CR before the framing one).
        rig.monitor.click(Form::Form1, "Command3");
        rig.runUntil([&] { return rig.commandsSent().back().starts_with("AD"); }, 20000);
        const LocalDateTime now = rig.platform.now();
        char expected[16];
        std::snprintf(expected, sizeof expected, "AD%02d%02d%02d\r", now.day, now.month,
                      now.year % 100);
        EXPECT_EQ(rig.commandsSent().back(), expected) << jump;
    }
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Files grow no further than this while the limit holds, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_DFL);
    }

  private:
    rlimit saved_{};
};

TEST(Faults, SettingsSaveOnAFullDiskLeavesTheOldFileWholeAndNoLitter) {
    VirtualRig rig;
    const std::string config =
        "COMPORT:1\r\nSENDERNAME:Station A\r\nSNAME:North hall\r\nTIMEOUT:500\r\n";
    rig.writeConfig(config);
    rig.device = answeringDevice;
    rig.start();
    rig.advance(1000);
    const auto dir = rig.programDir.path();
    std::size_t filesBefore = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++filesBefore;

    rig.monitor.click(Form::Form1, "mnset");
    {
        const FileSizeLimit full(16);
        rig.monitor.click(Form::Form2, "Command1");
    }
    EXPECT_EQ(fileText(dir / "sts.cfg"), config);
    std::size_t filesAfter = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++filesAfter;
    EXPECT_EQ(filesAfter, filesBefore) << "a half-written file was left behind";
    // Polling goes on, and with room on the disk the same Save writes.
    EXPECT_GT(commandsWithin(rig, 5000), 10u);
    rig.monitor.click(Form::Form1, "mnset");
    rig.monitor.click(Form::Form2, "Command1");
    EXPECT_NE(fileText(dir / "sts.cfg"), config);
}

}  // namespace
}  // namespace treld::testing
