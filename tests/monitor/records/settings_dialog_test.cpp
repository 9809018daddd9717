// The Settings dialog as the operator uses it: what it shows, what Save
// stores in memory and in sts.cfg, and what it refuses.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.start();
        open();
    }
    void open() { rig.click("mnset"); }
    const std::string& shown(std::string_view name) { return rig.caption(name, Form::Form2); }
    void type(std::string_view name, std::string_view text) { rig.type(name, text); }
    void save() { rig.click("Command1", Form::Form2); }
    bool visible() { return rig.element("Form2", Form::Form2).visible(); }
    std::string file() { return rig.readFile("sts.cfg"); }

    VirtualRig rig{
        "COMPORT:3\r\nEMAILENABLE:-1\r\nUSEAUTHENTICITATION:1\r\nSNAME: Plant A \r\n"
        "REMOTEPORT:1200\r\nTIMEOUT:0\r\n"};
};

TEST_F(SettingsDialog, ShowsWhatIsStoredCancelAndMailTestStoreNothingDemoIsForThisRunOnly) {
    EXPECT_EQ(shown("Text14") + "|" + shown("Combo1") + "|" + shown("Text18"),
              " Plant A |COM3|1200");
    EXPECT_EQ(rig.element("Check1", Form::Form2).value(), 0) << "-1 is not ticked";
    EXPECT_EQ(rig.element("Check2", Form::Form2).value(), 1);
    type("Text1", "x@y");
    open();  // open already: to the front, not reloaded
    EXPECT_EQ(shown("Text1"), "x@y");
    rig.click("Command2", Form::Form2);
    const std::pair mailer{(rig.programDir / "drovelin").string(),
                           std::string("1&&test message++STS test message")};
    EXPECT_EQ(rig.platform.startedPrograms, std::vector{mailer});
    EXPECT_TRUE(visible());
    const std::string before = file();
    rig.click("Command3", Form::Form2);
    EXPECT_FALSE(visible());
    open();
    EXPECT_EQ(shown("Text1") + file(), before);

    rig.select("Combo1", 0, Form::Form2);
    save();
    EXPECT_EQ(rig.caption("Label24"), "Demo");
    EXPECT_TRUE(file().starts_with("COMPORT:3\r\n")) << "the file keeps the port";
    open();
    EXPECT_EQ(rig.element("Combo1", Form::Form2).listIndex(), 0);
    save();
    EXPECT_TRUE(file().starts_with("COMPORT:0\r\n")) << "saved twice";
}

TEST_F(SettingsDialog, SaveTrimsTheMailFieldsOnlyWritesTheFileAndRestartsPollingOnMeasures) {
    rig.select("SSTab1", 4);
    type("Text1", "  a@b.c ");
    type("Text5", " secret ");
    type("Text13", " Alarm ");
    type("Text15", " 10.0.0.9 ");
    rig.select("Combo1", 5, Form::Form2);
    save();
    EXPECT_FALSE(visible());
    EXPECT_EQ(rig.element("SSTab1").listIndex(), 0);
    EXPECT_EQ(rig.caption("Label24"), "com5");
    rig.runUntilSent(1);
    EXPECT_EQ(rig.platform.serialWrites[0].atMs, 1000);

    EXPECT_EQ(std::ranges::count(file(), '\n'), 25);
    EXPECT_TRUE(file().starts_with("COMPORT:5\r\nSENDERNAME:\r\nSENDERADRES:a@b.c\r\n"));
    for (const char* line : {"\nPASSWORD:secret\r", "\nSUBJECT: Alarm \r", "\nEMAILENABLE:0\r",
                             "\nREMOTEIP1: 10.0.0.9 \r", "\nUSEAUTHENTICITATION:1\r",
                             "\nREMOTEPORT:1200\r", "\nTIMEOUT:0\r"})
        EXPECT_NE(file().find(line), std::string::npos) << line;
    EXPECT_EQ(std::filesystem::status(rig.programDir / "sts.cfg").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    open();
    EXPECT_EQ(shown("Text1") + "|" + shown("Text13"), "a@b.c| Alarm ");
}

TEST_F(SettingsDialog, BadPortUnwritableFileOrFullDiskIsRefusedAndNothingChanges) {
    const std::string before = file();
    const auto files = [&] {
        return std::distance(std::filesystem::directory_iterator(rig.programDir), {});
    };
    const auto filesBefore = files();
    auto refused = [&](const char* why) {
        save();
        EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u) << why;
        EXPECT_TRUE(visible()) << why;
        EXPECT_EQ(file(), before) << why;
        EXPECT_EQ(rig.caption("Label24"), "") << why;  // "com.." after a Save
    };
    type("Text1", "new@x");
    for (const char* port : {"", "abc", "12x", "0", "-5", "32768", "99999999999"}) {
        type("Text18", port);
        refused(port);
    }
    type("Text18", " 2000 ");
    type("Combo1", "COM17");
    refused("COM17");
    type("Combo1", "COM16");
    std::filesystem::create_directory(rig.programDir / "sts.cfg.new");
    refused("unwritable");
    std::filesystem::remove(rig.programDir / "sts.cfg.new");
    rlimit saved{};  // a full disk: files grow no further than 16 bytes meanwhile
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit full{16, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    refused("full disk");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(files(), filesBefore) << "a half-written file was left behind";
    rig.click("Command3", Form::Form2);
    open();
    EXPECT_EQ(shown("Text1"), "") << "memory unchanged";
    type("Text18", " 2000 ");
    type("Combo1", "COM16");
    save();
    EXPECT_FALSE(visible());
    EXPECT_TRUE(file().starts_with("COMPORT:16\r\n"));
    EXPECT_NE(file().find("\nREMOTEPORT:2000\r"), std::string::npos);
}

}  // namespace
}  // namespace treld::testing
