// The Settings dialog as the operator uses it: what it shows, what Save
// stores in memory and in sts.cfg, and what it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    }
    const Element& control(std::string_view name) { return rig.monitor.ui()(Form::Form2, name); }
    void type(std::string_view name, std::string_view text) {
        rig.monitor.editText(Form::Form2, name, text);
    }
    void click(std::string_view name) { rig.monitor.click(Form::Form2, name); }
    std::string configFile() {
        std::ifstream in(rig.programDir.path() / "sts.cfg", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string line(int n) {  // 1-based, without CR LF
        std::istringstream in(configFile());
        std::string text;
        for (int i = 0; i < n; ++i)
            std::getline(in, text);
        return text.substr(0, text.size() - 1);
    }
    VirtualRig rig;
    Core& core = rig.monitor.core();
};

TEST_F(SettingsDialog, OpensWithTheValuesInMemory) {
    core.config.SmtpHost = "changed in memory";
    rig.monitor.click(Form::Form1, "mnset");
    EXPECT_TRUE(control("Form2").visible());
    EXPECT_EQ(control("Combo1").listIndex(), 3);
    EXPECT_EQ(control("Combo1").items().size(), 17u);
    EXPECT_EQ(control("Text3").caption(), "changed in memory");
    EXPECT_EQ(control("Text14").caption(), " Plant A ");
    EXPECT_EQ(control("Text18").caption(), "1200");
    EXPECT_EQ(control("Check1").value(), 0);  // -1 is not ticked
    EXPECT_EQ(control("Check2").value(), 1);

    type("Text3", "typed");
    rig.monitor.click(Form::Form1, "mnset");  // open already: to the front, not reloaded
    EXPECT_EQ(control("Text3").caption(), "typed");
    EXPECT_EQ(control("Form2").activations(), 2);
}

TEST_F(SettingsDialog, SaveTrimsTheMailFieldsOnlyAndRestartsPollingOnMeasures) {
    rig.monitor.select(Form::Form1, "SSTab1", 4);
    rig.monitor.click(Form::Form1, "mnset");
    type("Text1", "  a@b.c ");
    type("Text5", " secret ");
    type("Text13", " Alarm ");
    type("Text15", " 10.0.0.9 ");
    rig.monitor.select(Form::Form2, "Combo1", 5);
    click("Command1");

    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.SenderAddress, "a@b.c");
    EXPECT_EQ(core.config.SmtpPassword, "secret");
    EXPECT_EQ(core.config.MailSubject, " Alarm ");
    EXPECT_EQ(core.config.RemoteIp1, " 10.0.0.9 ");
    EXPECT_EQ(core.config.ComPort, 5);
    EXPECT_EQ(rig.caption("Label24"), "com5");
    EXPECT_EQ(core.selectedTab(), 0);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer1).intervalMs, 1000);
    EXPECT_EQ(line(1), "COMPORT:5");
    EXPECT_EQ(line(12), "EMAILENABLE:0");
    EXPECT_EQ(line(25), "TIMEOUT:700");
}

TEST_F(SettingsDialog, DemoKeepsThePortInTheFileUntilSavedTwice) {
    rig.monitor.click(Form::Form1, "mnset");
    rig.monitor.select(Form::Form2, "Combo1", 0);
    click("Command1");
    EXPECT_EQ(core.s.DemoMode, 1);
    EXPECT_EQ(rig.caption("Label24"), "Demo");
    EXPECT_EQ(line(1), "COMPORT:3");

    rig.monitor.click(Form::Form1, "mnset");
    EXPECT_EQ(control("Combo1").listIndex(), 0);
    click("Command1");
    EXPECT_EQ(line(1), "COMPORT:0");
}

TEST_F(SettingsDialog, InvalidPortFieldOrPortChoiceIsRefusedAndNothingChanges) {
    const char* const badPorts[] = {"", "abc", "12x", "0", "-5", "32768", "99999999999"};
    for (const char* port : badPorts) {
        rig.monitor.click(Form::Form1, "mnset");
        type("Text18", port);
        type("Text1", "new@x");
        click("Command1");
        EXPECT_TRUE(control("Form2").visible()) << port;
        EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u) << port;
    }
    type("Text18", " 2000 ");
    type("Combo1", "COM17");
    click("Command1");
    EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u);
    EXPECT_EQ(core.config.RemotePort, 1200);
    EXPECT_EQ(core.config.SenderAddress, "");
    EXPECT_EQ(line(1), "COMPORT:3");
    EXPECT_EQ(line(2), "EMAILENABLE:-1");  // the file as the test wrote it

    type("Combo1", "COM16");
    click("Command1");
    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.RemotePort, 2000);
    EXPECT_EQ(line(1), "COMPORT:16");
}

TEST_F(SettingsDialog, UnwritableFileKeepsMemoryAndTheOldFile) {
    std::filesystem::create_directory(rig.programDir.path() / "sts.cfg.new");
    const std::string before = configFile();
    rig.monitor.click(Form::Form1, "mnset");
    rig.monitor.select(Form::Form2, "Combo1", 0);
    click("Command1");
    EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u);
    EXPECT_TRUE(control("Form2").visible());
    EXPECT_EQ(core.s.DemoMode, 0);
    EXPECT_EQ(configFile(), before);
}

TEST_F(SettingsDialog, MailTestStartsTheMailProgramAndCancelStoresNothing) {
    rig.monitor.click(Form::Form1, "mnset");
    type("Text1", "x@y");
    click("Command2");
    ASSERT_EQ(rig.platform.startedPrograms.size(), 1u);
    EXPECT_EQ(rig.platform.startedPrograms[0].path, (rig.programDir.path() / "drovelin").string());
    EXPECT_EQ(rig.platform.startedPrograms[0].argument, "1&&test message++STS test message");
    EXPECT_TRUE(control("Form2").visible());

    const std::string before = configFile();
    click("Command3");
    EXPECT_FALSE(control("Form2").visible());
    EXPECT_EQ(core.config.SenderAddress, "");
    EXPECT_EQ(configFile(), before);
}

}  // namespace
}  // namespace treld::testing
