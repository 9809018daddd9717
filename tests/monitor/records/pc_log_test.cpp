// The PC event files on disk, written with the virtual clock, and the
// calendar program that shows them.
#include <gtest/gtest.h>

#include <fstream>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

TEST(PcLog, LinesGoToTheFileOfTheirMonthAcrossMonthAndYearEnds) {
    VirtualRig rig;
    rig.platform.wallClockAtStart = {2008, 11, 30, 23, 59, 58, "", ""};
    rig.start();              // "Program start", and SERLOGS does not exist yet
    rig.select("SSTab1", 3);  // the status alone is polled
    const std::pair<std::int64_t, int> steps[] = {{0, 23}, {2, 9}, {31 * 86400 - 1, 23}, {1, 9}};
    for (auto [seconds, alarm] : steps) {
        rig.platform.clockOffsetSeconds += seconds;
        rig.sts.status = statusRecord({{alarm, '1'}});
        rig.runPast("SAS");
    }
    EXPECT_EQ(rig.readFile("SERLOGS/2008-11.TXT"),
              " 1 30-11-2008--23:59:58 Program start\r\n"
              " 100 30-11-2008--23:59:58 -Overload\r\n");
    EXPECT_EQ(rig.readFile("SERLOGS/2008-12.TXT"),
              " 100 01-12-2008--00:00:00 -S1 SCR failure\r\n"
              " 100 31-12-2008--23:59:59 -Overload\r\n");
    EXPECT_EQ(rig.readFile("SERLOGS/2009-01.TXT"), " 100 01-01-2009--00:00:00 -S1 SCR failure\r\n");
}

TEST(PcLog, UnwritableFolderIsSaidOnceUntilALineGetsThroughAndTheCalendarShowsTheLog) {
    VirtualRig rig;
    const auto folder = rig.programDir / "SERLOGS";
    auto blockFolder = [&] { std::ofstream(folder) << "not a folder"; };
    auto alarm = [&](int position) {
        rig.sts.status = statusRecord({{position, '1'}});
        rig.runPast("SAS");  // Label40 as the status decoding left it
    };
    blockFolder();
    rig.start();
    const std::string said = rig.caption("Label40");
    EXPECT_TRUE(said.starts_with("PC log not written: ")) << said;
    alarm(23);
    EXPECT_EQ(rig.caption("Label40"), "Data OK") << "said once";
    std::filesystem::remove(folder);
    alarm(9);  // gets through
    EXPECT_NE(rig.readFile("SERLOGS/2026-12.TXT").find("-S1 SCR failure"), std::string::npos);
    std::filesystem::remove_all(folder);
    blockFolder();
    alarm(23);
    EXPECT_EQ(rig.caption("Label40"), said);

    // The PC log's own program: no argument, and a failed start changes nothing.
    rig.platform.programsStart = false;
    rig.click("mncal");
    rig.platform.programsStart = true;
    rig.click("Command4");
    EXPECT_EQ(rig.platform.startedPrograms,
              (std::vector<std::pair<std::string, std::string>>{{rig.programDir / "kirnal", ""}}));
}

}  // namespace
}  // namespace treld::testing
