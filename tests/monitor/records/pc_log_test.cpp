// The PC event files on disk, written with the virtual clock.
#include <gtest/gtest.h>

#include <fstream>

#include "records/pc_log.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

void logEvent(VirtualRig& rig, Int16 code, std::string text, std::int64_t atSecond) {
    rig.platform.clockOffsetSeconds = atSecond;
    rig.monitor.core().s.PcLogEventCode = code;
    rig.monitor.core().s.PcLogEventText = std::move(text);
    WritePcLog(rig.monitor.core());
}

TEST(PcLog, LinesGoToTheFileOfTheirMonthAcrossMonthAndYearEnds) {
    VirtualRig rig;
    rig.platform.wallClockAtStart = {2008, 11, 30, 23, 59, 58, "", ""};
    rig.start();  // "Program start", and SERLOGS does not exist yet
    logEvent(rig, 100, "Source1 BAD", 1);
    logEvent(rig, 100, "Overload", 2);               // 1 December
    logEvent(rig, -7, "x", 31 * 86400 + 1);          // 31 December 23:59:59
    logEvent(rig, 100, "Overload", 31 * 86400 + 2);  // 1 January 2009

    const auto folder = rig.programDir.path() / "SERLOGS";
    EXPECT_EQ(fileText(folder / "2008-11.TXT"),
              " 1 30-11-2008--23:59:58 Program start\r\n"
              " 100 30-11-2008--23:59:59 Source1 BAD\r\n");
    EXPECT_EQ(fileText(folder / "2008-12.TXT"),
              " 100 01-12-2008--00:00:00 Overload\r\n"
              "-7 31-12-2008--23:59:59 x\r\n");
    EXPECT_EQ(fileText(folder / "2009-01.TXT"), " 100 01-01-2009--00:00:00 Overload\r\n");
}

TEST(PcLog, UnwritableFolderIsSaidOnceInTheStatusLineUntilALineGetsThrough) {
    VirtualRig rig;
    const auto folder = rig.programDir.path() / "SERLOGS";
    std::ofstream(folder) << "not a folder";
    rig.start();
    const std::string said = rig.caption("Label40");
    EXPECT_TRUE(said.starts_with("PC log not written: ")) << said;

    rig.monitor.ui()(Form::Form1, "Label40").setCaption("Data OK");
    logEvent(rig, 100, "Overload", 5);
    EXPECT_EQ(rig.caption("Label40"), "Data OK");

    std::filesystem::remove(folder);
    logEvent(rig, 100, "Overload", 6);  // gets through
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    logEvent(rig, 100, "Overload", 7);
    EXPECT_EQ(rig.caption("Label40"), said);
}

TEST(PcLog, PcLogsButtonAndMenuStartTheCalendarWithoutArgumentsAndIgnoreFailure) {
    VirtualRig rig;
    rig.start();
    rig.monitor.click(Form::Form1, "Command4");
    rig.platform.programsStart = false;
    rig.monitor.click(Form::Form1, "mncal");
    rig.platform.programsStart = true;
    rig.monitor.click(Form::Form1, "mncal");
    const StartedProgram calendar{(rig.programDir.path() / "kirnal").string(), ""};
    EXPECT_EQ(rig.platform.startedPrograms, std::vector(2, calendar));
}

}  // namespace
}  // namespace treld::testing
