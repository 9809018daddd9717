// The login dialog's timed sequence, the keep-alive and Logout.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class Login : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:1\r\nTIMEOUT:1000\r\n");
        // The device accepts "1234" at either level and then reports a
        // service login in its status record (position 40).
        rig.device = [this](const std::string& command) -> std::optional<DeviceReply> {
            if (command == "P1234" || command == "U1234")
                loggedIn = true;
            if (command == "SAS" && loggedIn)
                return DeviceReply{"#00000000 00000000 00000000 00000000 00100\r"};
            return answeringDevice(command);
        };
        rig.start();
        rig.advance(1'000);
    }
    void logon(const char* menu, const char* password) {
        rig.monitor.click(Form::Form1, menu);
        rig.monitor.editText(Form::Form3, "Text1", password);
        rig.monitor.click(Form::Form3, "Command1");
    }
    Core& core() { return rig.monitor.core(); }
    bool loggedIn = false;
    Element& dialog(const char* name) { return rig.monitor.ui()(Form::Form3, name); }
    bool sentSince(std::int64_t t, const std::string& text) {
        const auto writes = writesFrom(t);
        return std::ranges::any_of(writes, [&](const WireRecord& w) { return w.text == text; });
    }
    std::vector<WireRecord> writesFrom(std::int64_t t) {
        std::vector<WireRecord> writes;
        for (const WireRecord& w : rig.platform.serialWrites)
            if (w.atMs >= t)
                writes.push_back(w);
        return writes;
    }

    VirtualRig rig;
};

TEST_F(Login, PasswordOfOtherThanFourCharactersNeverLeavesThePc) {
    for (const char* password : {"", "123", "12345"}) {
        logon("mnuselogon", password);
        const auto messages = rig.monitor.ui().takeMessages();
        ASSERT_EQ(messages.size(), 1u) << password;
        EXPECT_EQ(messages[0].title, "ZID evevori");
        EXPECT_EQ(messages[0].text, "Invalid password");
        EXPECT_FALSE(rig.platform.timer(TimerId::LoginTimer).running);
    }
    rig.advance(10'000);
    for (const WireRecord& w : rig.platform.serialWrites)
        EXPECT_FALSE(w.text.starts_with("U")) << w.text;
    EXPECT_EQ(rig.monitor.core().s.PollState, "");
}

struct Sequence {
    const char* menu;
    const char* password;
    const char* caption;
    const char* sent;
    bool accepted;
};

class LoginSequence : public Login, public ::testing::WithParamInterface<Sequence> {};

TEST_P(LoginSequence, PausesSendsResumesAndGivesItsVerdictAtEightSeconds) {
    const Sequence& c = GetParam();
    logon(c.menu, c.password);
    EXPECT_EQ(dialog("Form3").caption(), c.caption);
    const std::int64_t t0 = rig.now();
    rig.advance(999);
    EXPECT_EQ(core().s.PollState, "");
    rig.advance(1);
    EXPECT_EQ(core().s.PollState, "PAUSE");
    rig.advance(2'000);
    const auto paused = writesFrom(t0 + 1'001);
    ASSERT_EQ(paused.size(), 1u) << "only the login goes out during the pause";
    EXPECT_EQ(paused[0].text, c.sent);
    EXPECT_EQ(paused[0].atMs, t0 + 3'000);
    rig.advance(2'100);
    EXPECT_EQ(writesFrom(t0 + 5'000).front().text, "SRV\r") << "polling resumes at SRV";
    rig.advance(2'900);
    EXPECT_EQ(dialog("Form3").visible(), !c.accepted);
    EXPECT_EQ(dialog("Label2").caption(), c.accepted ? "" : "Login failed");
    EXPECT_FALSE(rig.platform.timer(TimerId::LoginTimer).running);
}

INSTANTIATE_TEST_SUITE_P(ServiceAccepted, LoginSequence,
                         ::testing::Values(Sequence{"mnlogon", "1234", "STS service logon",
                                                    "P1234\r", true}));
INSTANTIATE_TEST_SUITE_P(UserRefused, LoginSequence,
                         ::testing::Values(Sequence{"mnuselogon", "9999", "STS user logon",
                                                    "U9999\r", false}));

TEST_F(Login, KeepAliveRepeatsTheLoginEvery20sAndBacksOff5sWhileTheSlotIsBusy) {
    logon("mnuselogon", "1234");
    rig.advance(8'000);
    ASSERT_FALSE(dialog("Form3").visible());
    const std::int64_t next = rig.platform.timer(TimerId::Timer2).dueMs;
    core().s.PollState = "PAUSE";  // busy: another login in progress
    rig.advance(next - rig.now());
    EXPECT_EQ(rig.platform.timer(TimerId::Timer2).intervalMs, 5'000);
    EXPECT_EQ(core().s.PollState, "PAUSE");
    core().s.PollState = "";
    rig.advance(5'000);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer2).intervalMs, 20'000);
    rig.advance(100);
    EXPECT_TRUE(sentSince(next + 5'000, "U1234\r\r"));

    loggedIn = false;  // the device dropped the login
    rig.advance(20'000);
    EXPECT_FALSE(sentSince(next + 5'100, "U1234\r\r"));
}

TEST_F(Login, LogoutQueuesOutForTheNextTick) {
    rig.monitor.click(Form::Form1, "mnout");
    const std::int64_t t = rig.now();
    rig.advance(200);
    EXPECT_TRUE(sentSince(t, "OUT\r"));
}

}  // namespace
}  // namespace treld::testing
