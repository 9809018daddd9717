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
    void open() { rig.monitor.click(Form::Form1, "mnset"); }
    const std::string& shown(std::string_view name) { return rig.caption(name, Form::Form2); }
    void type(std::string_view name, std::string_view text) {
        rig.monitor.editText(Form::Form2, name, text);
    }
    void save() { rig.monitor.click(Form::Form2, "Command1"); }
    bool visible() { return rig.element("Form2", Form::Form2).visible(); }
    std::string firstLine() {
        const std::string file = rig.readFile("sts.cfg");
        return file.substr(0, file.find('\r'));
    }
    VirtualRig rig{
        "COMPORT:3\r\nEMAILENABLE:-1\r\nUSEAUTHENTICITATION:1\r\nSNAME: Plant A \r\n"
        "REMOTEPORT:1200\r\nTIMEOUT:0\r\n"};
};

TEST_F(SettingsDialog, ShowsWhatIsStoredAndCancelOrTheMailTestStoreNothing) {
    EXPECT_EQ(shown("Text14"), " Plant A ");
    EXPECT_EQ(rig.element("Check1", Form::Form2).value(), 0) << "-1 is not ticked";
    EXPECT_EQ(rig.element("Check2", Form::Form2).value(), 1);
    EXPECT_EQ(shown("Combo1") + shown("Text18"), "COM31200");

    type("Text1", "x@y");
    open();  // open already: to the front, not reloaded
    EXPECT_EQ(shown("Text1"), "x@y");
    rig.monitor.click(Form::Form2, "Command2");
    const std::pair mailer{(rig.programDir / "drovelin").string(),
                           std::string("1&&test message++STS test message")};
    EXPECT_EQ(rig.platform.startedPrograms, std::vector{mailer});
    EXPECT_TRUE(visible());

    const std::string before = rig.readFile("sts.cfg");
    rig.monitor.click(Form::Form2, "Command3");
    EXPECT_FALSE(visible());
    open();
    EXPECT_EQ(shown("Text1"), "");
    EXPECT_EQ(rig.readFile("sts.cfg"), before);
}

TEST_F(SettingsDialog, SaveTrimsTheMailFieldsOnlyWritesTheFileAndRestartsPollingOnMeasures) {
    rig.monitor.select(Form::Form1, "SSTab1", 4);
    type("Text1", "  a@b.c ");
    type("Text5", " secret ");
    type("Text13", " Alarm ");
    type("Text15", " 10.0.0.9 ");
    rig.monitor.select(Form::Form2, "Combo1", 5);
    const std::int64_t savedAt = rig.now();
    save();
    EXPECT_FALSE(visible());
    EXPECT_EQ(rig.element("SSTab1").listIndex(), 0);
    EXPECT_EQ(rig.caption("Label24"), "com5");
    rig.runUntilSent(rig.platform.serialWrites.size() + 1);
    EXPECT_EQ(rig.platform.serialWrites.back().atMs, savedAt + 1000);
    EXPECT_EQ(rig.commandsSent().back(), "SRV");

    const std::string file = rig.readFile("sts.cfg");
    EXPECT_EQ(std::ranges::count(file, '\n'), 25);
    for (const char* line : {"COMPORT:5\r\n", "SENDERADRES:a@b.c\r\n", "PASSWORD:secret\r\n",
                             "SUBJECT: Alarm \r\n", "REMOTEIP1: 10.0.0.9 \r\n", "EMAILENABLE:0\r\n",
                             "USEAUTHENTICITATION:1\r\n", "REMOTEPORT:1200\r\n", "TIMEOUT:0\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_TRUE(file.starts_with("COMPORT:5\r\nSENDERNAME:\r\n"));
    EXPECT_EQ(std::filesystem::status(rig.programDir / "sts.cfg").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    open();
    EXPECT_EQ(shown("Text1") + "|" + shown("Text13"), "a@b.c| Alarm ");
}

TEST_F(SettingsDialog, DemoKeepsThePortInTheFileUntilSavedTwice) {
    rig.monitor.select(Form::Form2, "Combo1", 0);
    save();
    EXPECT_EQ(rig.caption("Label24"), "Demo");
    EXPECT_EQ(firstLine(), "COMPORT:3");
    open();
    EXPECT_EQ(rig.element("Combo1", Form::Form2).listIndex(), 0);
    save();
    EXPECT_EQ(firstLine(), "COMPORT:0");
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

TEST_F(SettingsDialog, BadPortUnwritableFileOrFullDiskIsRefusedAndNothingChanges) {
    const std::string before = rig.readFile("sts.cfg");
    const auto files = [&] {
        return std::distance(std::filesystem::directory_iterator(rig.programDir), {});
    };
    const auto filesBefore = files();
    auto refused = [&](const char* why) {
        EXPECT_EQ(rig.monitor.ui().takeMessages().size(), 1u) << why;
        EXPECT_TRUE(visible()) << why;
        EXPECT_EQ(rig.readFile("sts.cfg"), before) << why;
        EXPECT_EQ(rig.caption("Label24"), "") << why;  // "com.." after a Save
    };
    type("Text1", "new@x");
    for (const char* port : {"", "abc", "12x", "0", "-5", "32768", "99999999999"}) {
        type("Text18", port);
        save();
        refused(port);
    }
    type("Text18", " 2000 ");
    type("Combo1", "COM17");
    save();
    refused("COM17");
    type("Combo1", "COM16");
    std::filesystem::create_directory(rig.programDir / "sts.cfg.new");
    save();
    refused("unwritable");
    std::filesystem::remove(rig.programDir / "sts.cfg.new");
    {
        const FileSizeLimit full(16);
        save();
    }
    refused("full disk");
    EXPECT_EQ(files(), filesBefore) << "a half-written file was left behind";
    rig.monitor.click(Form::Form2, "Command3");
    open();
    EXPECT_EQ(shown("Text1"), "") << "memory unchanged";

    type("Text18", " 2000 ");
    type("Combo1", "COM16");
    save();
    EXPECT_FALSE(visible());
    EXPECT_EQ(firstLine(), "COMPORT:16");
    EXPECT_NE(rig.readFile("sts.cfg").find("REMOTEPORT:2000\r\n"), std::string::npos);
}

}  // namespace
}  // namespace treld::testing
