// The login dialog's timed sequence, the keep-alive, and the "Control" tab's
// command buttons that need a login.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

void logon(VirtualRig& rig, const char* menu, const char* password) {
    rig.monitor.click(Form::Form1, menu);
    rig.monitor.editText(Form::Form3, "Text1", password);
    rig.monitor.click(Form::Form3, "Command1");
}

// Commands written in [from, to).
Texts sentBetween(VirtualRig& rig, std::int64_t from, std::int64_t to) {
    Texts sent;
    for (const WireRecord& w : rig.platform.serialWrites) {
        if (w.atMs >= from && w.atMs < to)
            sent.push_back(w.text);
    }
    return sent;
}

TEST(Login, PausesPollingSendsThePasswordResumesAndRefusesAtEightSeconds) {
    VirtualRig rig;
    rig.start();
    rig.advance(1'000);
    for (const char* password : {"", "123", "12345"}) {
        logon(rig, "mnuselogon", password);
        const auto messages = rig.monitor.ui().takeMessages();
        ASSERT_EQ(messages.size(), 1u) << password;
        EXPECT_EQ(messages[0].title + ": " + messages[0].text, "ZID evevori: Invalid password");
    }
    logon(rig, "mnlogon", "9999");
    EXPECT_EQ(rig.caption("Form3", Form::Form3), "STS user logon")
        << "an open dialog keeps its caption";
    const std::int64_t t0 = rig.now();
    rig.advance(5'030);
    EXPECT_FALSE(sentBetween(rig, t0 + 970, t0 + 1'001).empty()) << "polling up to 1 s";
    EXPECT_EQ(sentBetween(rig, t0 + 1'001, t0 + 5'000), Texts{"P9999\r"})
        << "only the password goes out during the pause";
    EXPECT_EQ(rig.platform.serialWrites.at(rig.platform.serialWrites.size() - 2).atMs, t0 + 3'000);
    EXPECT_EQ(sentBetween(rig, t0 + 5'000, t0 + 5'030), Texts{"SRV\r"}) << "polling resumes";
    rig.advance(2'969);
    EXPECT_EQ(rig.caption("Label2", Form::Form3), "");
    rig.advance(1);
    EXPECT_TRUE(rig.element("Form3", Form::Form3).visible());
    EXPECT_EQ(rig.caption("Label2", Form::Form3), "Login failed");

    // Cancel or closing the window ends a pause at once.
    for (bool cancel : {true, false}) {
        logon(rig, "mnuselogon", "1234");
        rig.advance(1'500);
        const std::size_t paused = rig.platform.serialWrites.size();
        cancel ? rig.monitor.click(Form::Form3, "Command2") : rig.monitor.closeWindow(Form::Form3);
        EXPECT_FALSE(rig.element("Form3", Form::Form3).visible());
        rig.advance(50);
        EXPECT_GT(rig.platform.serialWrites.size(), paused) << cancel;
    }
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "U1234"), 0);
}

TEST(Login, KeepAliveRepeatsTheLoginEvery20sAndBacksOff5sWhileTheSlotIsBusy) {
    VirtualRig rig;
    rig.start();
    rig.advance(1'000);
    auto keepAlives = [&] { return std::ranges::count(rig.commandsSent(), "U1234\r"); };
    logon(rig, "mnuselogon", "1234");
    EXPECT_EQ(rig.caption("Form3", Form::Form3), "STS user logon");
    rig.advance(7'999);
    ASSERT_TRUE(rig.element("Form3", Form::Form3).visible());
    rig.advance(1);
    ASSERT_FALSE(rig.element("Form3", Form::Form3).visible()) << "accepted at eight seconds";
    EXPECT_EQ(rig.caption("Form1"), "ZID evevori/User Login(Local)");

    const std::int64_t due = rig.platform.timers[int(TimerId::Timer2)].dueMs;
    rig.advance(due - 2'000 - rig.now());
    logon(rig, "mnuselogon", "1234");  // a second login holds the slot paused at `due`
    rig.advance(5'100);
    EXPECT_EQ(keepAlives(), 0);
    rig.advance(2'000);
    EXPECT_EQ(keepAlives(), 1) << "5 s later";
    rig.advance(19'800);
    EXPECT_EQ(keepAlives(), 1);
    rig.advance(200);
    EXPECT_EQ(keepAlives(), 2) << "then every 20 s";

    rig.sts.status = kSasReply;  // the device dropped the login
    rig.advance(40'000);
    EXPECT_EQ(keepAlives(), 2) << "no keep-alive without a login";
}

TEST(ControlTab, EachButtonQueuesItsCommandForTheGapAfterTheNextStatusPollIfLoggedIn) {
    VirtualRig rig;
    rig.sts.status = statusRecord({{42, '1'}});  // a user is logged in
    rig.start();
    rig.monitor.select(Form::Form1, "SSTab1", 3);
    rig.runPast("SAS");
    ASSERT_EQ(rig.commandsSent(), (Texts{"SAS", "SAS"})) << "the status alone is polled";
    auto click = [&](int button) {
        rig.monitor.click(Form::Form1, "Command2_" + std::to_string(button));
    };
    auto next = [&](std::size_t count) {
        const std::size_t from = rig.platform.serialWrites.size();
        rig.runUntilSent(from + count);
        const Texts sent = rig.commandsSent();
        return Texts(sent.begin() + from, sent.end());
    };
    for (int i = 0; i < 8; ++i)
        click(i);  // a later click replaces the queued one
    EXPECT_EQ(next(2), (Texts{"SOF", "SAS"}));
    EXPECT_EQ(rig.platform.serialWrites.end()[-2].atMs - rig.platform.serialWrites.end()[-3].atMs,
              35)
        << "after the answer to the status poll";
    EXPECT_EQ(rig.caption("Label40"), "OK\r");

    click(6);
    rig.runUntil([&] { return rig.commandsSent().back() == "SON"; });
    click(7);  // while an answer is awaited: lost
    EXPECT_EQ(next(3), (Texts{"SAS", "SAS", "SAS"}));

    click(1);
    rig.monitor.select(Form::Form1, "SSTab1", 0);  // before it goes out: dropped
    rig.advance(3'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "XF2"), 0);

    rig.sts.status = kSasReply;
    rig.monitor.select(Form::Form1, "SSTab1", 3);
    rig.runPast("SAS");
    click(3);
    EXPECT_EQ(rig.caption("Form3", Form::Form3), "STS user logon") << "not logged in";
    rig.advance(3'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "TST"), 0);
}

}  // namespace
}  // namespace treld::testing
