// The Settings dialog as the operator uses it: what it shows, what Save
// stores in memory and in sts.cfg, and what it refuses.
#include <gtest/gtest.h>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class SettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig(
            "COMPORT:3\r\nEMAILENABLE:-1\r\nUSEAUTHENTICITATION:1\r\nSNAME: Plant A \r\n"
            "REMOTEPORT:1200\r\nTIMEOUT:700\r\n");
        rig.start();
        rig.monitor.click(Form::Form1, "mnset");
    }
    const Element& control(std::string_view name) { return rig.monitor.ui()(Form::Form2, name); }
    void type(std::string_view name, std::string_view text) {
        rig.monitor.editText(Form::Form2, name, text);
    }
    void save() { rig.monitor.click(Form::Form2, "Command1"); }
    std::string configFile() { return fileText(rig.programDir.path() / "sts.cfg"); }
    std::string firstLine() { return configFile().substr(0, configFile().find('\r')); }

    VirtualRig rig;
    Core& core = rig.monitor.core();
};

TEST_F(SettingsDialog, ShowsMemoryAndCancelOrMailTestStoreNothing) {
    EXPECT_EQ(control("Text14").caption(), " Plant A ");  // shown as stored
    EXPECT_EQ(control("Check1").value(), 0);              // -1 is not ticked

    type("Text1", "x@y");
    rig.monitor.click(Form::Form1, "mnset");  // open already: to the front, not reloaded
    EXPECT_EQ(control("Text1").caption(), "x@y");
    rig.monitor.click(Form::Form2, "Command2");
    const StartedProgram mailer{(rig.programDir.path() / "drovelin").string(),
                                "1&&test message++STS test message"};
    EXPECT_EQ(rig.platform.startedPrograms, std::vector{mailer});
    EXPECT_TRUE(control("Form2").visible());

    const std::string before = configFile();
    rig.monitor.click(Form::Form2, "Command3");
    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.SenderAddress, "");
    EXPECT_EQ(configFile(), before);
    core.config.SenderAddress = "from memory";
    rig.monitor.click(Form::Form1, "mnset");
    EXPECT_EQ(control("Text1").caption(), "from memory");
}

TEST_F(SettingsDialog, SaveTrimsTheMailFieldsOnlyAndRestartsPollingOnMeasures) {
    rig.monitor.select(Form::Form1, "SSTab1", 4);
    type("Text1", "  a@b.c ");
    type("Text5", " secret ");
    type("Text13", " Alarm ");
    type("Text15", " 10.0.0.9 ");
    rig.monitor.select(Form::Form2, "Combo1", 5);
    save();

    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.SenderAddress, "a@b.c");
    EXPECT_EQ(core.config.SmtpPassword, "secret");
    EXPECT_EQ(core.config.MailSubject, " Alarm ");
    EXPECT_EQ(core.config.RemoteIp1, " 10.0.0.9 ");
    EXPECT_EQ(core.selectedTab(), 0);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer1).intervalMs, 1000);
    EXPECT_EQ(firstLine(), "COMPORT:5");  // file against memory: records_windows_test
}

TEST_F(SettingsDialog, DemoKeepsThePortInTheFileUntilSavedTwice) {
    rig.monitor.select(Form::Form2, "Combo1", 0);
    save();
    EXPECT_EQ(core.s.DemoMode, 1);
    EXPECT_EQ(rig.caption("Label24"), "Demo");
    EXPECT_EQ(firstLine(), "COMPORT:3");

    rig.monitor.click(Form::Form1, "mnset");
    EXPECT_EQ(control("Combo1").listIndex(), 0);
    save();
    EXPECT_EQ(firstLine(), "COMPORT:0");
}

TEST_F(SettingsDialog, InvalidPortOrUnwritableFileIsRefusedAndNothingChanges) {
    const std::string before = configFile();
    auto refused = [&](const char* why) {
        save();
        EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u) << why;
        EXPECT_TRUE(control("Form2").visible()) << why;
        EXPECT_EQ(core.config.SenderAddress, "") << why;
        EXPECT_EQ(configFile(), before) << why;
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
    std::filesystem::create_directory(rig.programDir.path() / "sts.cfg.new");
    refused("unwritable");
    std::filesystem::remove(rig.programDir.path() / "sts.cfg.new");

    save();
    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.RemotePort, 2000);
    EXPECT_EQ(firstLine(), "COMPORT:16");
}

}  // namespace
}  // namespace treld::testing
