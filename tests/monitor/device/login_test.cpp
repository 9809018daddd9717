// The login dialog's timed sequence, the keep-alive and Logout.
#include "scripted_sts.h"

namespace treld::testing {
namespace {

class Login : public DeviceTest {
  protected:
    void SetUp() override {
        start(-1);  // the device accepts "1234" at either level
        rig.advance(1'000);
    }
    void logon(const char* menu, const char* password) {
        rig.monitor.click(Form::Form1, menu);
        rig.monitor.editText(Form::Form3, "Text1", password);
        rig.monitor.click(Form::Form3, "Command1");
    }
    long keepAlives() {
        return std::ranges::count_if(rig.platform.serialWrites,
                                     [](const WireRecord& w) { return w.text == "U1234\r\r"; });
    }
};

TEST_F(Login, PasswordOfOtherThanFourCharactersNeverLeavesThePc) {
    for (const char* password : {"", "123", "12345"}) {
        logon("mnuselogon", password);
        const auto messages = rig.monitor.ui().takeMessages();
        ASSERT_EQ(messages.size(), 1u) << password;
        EXPECT_EQ(messages[0].title + ": " + messages[0].text, "ZID evevori: Invalid password");
    }
    rig.advance(10'000);
    for (const WireRecord& w : rig.platform.serialWrites)
        EXPECT_FALSE(w.text.starts_with("U")) << w.text;
}

// Acceptance at eight seconds is part of the keep-alive test below.
TEST_F(Login, PausesSendsResumesAndRefusesAtEightSeconds) {
    logon("mnlogon", "9999");
    EXPECT_EQ(element("Form3", Form::Form3).caption(), "STS service logon");
    const std::int64_t t0 = rig.now();
    rig.advance(999);
    EXPECT_EQ(core().s.PollState, "");
    rig.advance(1);
    EXPECT_EQ(core().s.PollState, "PAUSE");
    const auto& writes = rig.platform.serialWrites;
    const std::size_t n0 = writes.size();
    rig.advance(2'000);
    ASSERT_EQ(writes.size(), n0 + 1) << "only the login goes out during the pause";
    EXPECT_EQ(writes.back().text, "P9999\r");
    EXPECT_EQ(writes.back().atMs, t0 + 3'000);
    rig.advance(2'100);
    EXPECT_EQ(writes.at(n0 + 1).text, "SRV\r") << "polling resumes at SRV";
    EXPECT_GE(writes.at(n0 + 1).atMs, t0 + 5'000);
    rig.advance(2'899);
    EXPECT_EQ(element("Label2", Form::Form3).caption(), "");
    rig.advance(1);
    EXPECT_TRUE(element("Form3", Form::Form3).visible());
    EXPECT_EQ(element("Label2", Form::Form3).caption(), "Login failed");
    EXPECT_FALSE(rig.platform.timer(TimerId::LoginTimer).running);
}

TEST_F(Login, KeepAliveRepeatsTheLoginEvery20sAndBacksOff5sWhileTheSlotIsBusy) {
    logon("mnuselogon", "1234");
    EXPECT_EQ(element("Form3", Form::Form3).caption(), "STS user logon");
    rig.advance(7'999);
    ASSERT_TRUE(element("Form3", Form::Form3).visible());
    rig.advance(1);
    ASSERT_FALSE(element("Form3", Form::Form3).visible()) << "accepted at eight seconds";
    const std::int64_t next = rig.platform.timer(TimerId::Timer2).dueMs;
    core().s.PollState = "PAUSE";  // busy: another login in progress
    rig.advance(next - rig.now());
    EXPECT_EQ(rig.platform.timer(TimerId::Timer2).intervalMs, 5'000);
    EXPECT_EQ(core().s.PollState, "PAUSE");
    core().s.PollState = "";
    rig.advance(5'000);
    EXPECT_EQ(rig.platform.timer(TimerId::Timer2).intervalMs, 20'000);
    rig.advance(100);
    EXPECT_EQ(keepAlives(), 1);

    sts.status = kSasReply;  // the device dropped the login
    rig.advance(20'000);
    EXPECT_EQ(keepAlives(), 1) << "no keep-alive without a login";
}

// Logout ("OUT") is proven against the simulator in tests/e2e/operator_test.cpp.

}  // namespace
}  // namespace treld::testing
