// The device's own dialogs and tabs: login and keep-alive, the Control tab
// and the User options tab, with the device played in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

// The login dialog a second into polling.
class LoginDialog : public ::testing::Test {
  protected:
    void SetUp() override { rig.start(), rig.advance(1'000); }
    void logon(const char* menu, const char* password) {
        rig.click(menu);
        rig.type("Text1", password, Form::Form3);
        rig.click("Command1", Form::Form3);
    }
    VirtualRig rig;
    const Element& dialog = rig.element("Form3", Form::Form3);
};

TEST_F(LoginDialog, PausesPollingSendsThePasswordAt3sAndJudgesByTheStatusReadAt5s) {
    logon("mnuselogon", "12345");
    const auto messages = rig.monitor.ui().takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title + ": " + messages[0].text, "ZID evevori: Invalid password");
    logon("mnlogon", "9990");  // the device refuses it
    EXPECT_EQ(dialog.caption(), "STS service logon") << "retitled for the level Logon sends";
    const std::int64_t t0 = rig.now();
    rig.advance(5'030);
    Texts sent;  // with their time since Logon
    for (const WireRecord& w : rig.platform.serialWrites) {
        if (w.atMs > t0 + 971)
            sent.push_back(std::to_string(w.atMs - t0) + " " + w.text);
    }
    EXPECT_EQ(sent, (Texts{"1000 SST\r", "3000 P9990\r", "5005 SAS\r"}))
        << "polling pauses at 1 s, the password goes out at 3 s, the status is read at 5 s";
    rig.advance(2'969);
    EXPECT_EQ(rig.caption("Label2", Form::Form3), "");
    rig.advance(1);
    EXPECT_TRUE(dialog.visible());
    EXPECT_EQ(rig.caption("Label2", Form::Form3), "Login failed");
}

TEST_F(LoginDialog, CancelEndsThePauseAtOnceAndALoginTheDeviceTakesIsShownAt8s) {
    logon("mnuselogon", "1111");
    rig.advance(1'500);  // paused
    const std::size_t paused = rig.platform.serialWrites.size();
    rig.click("Command2", Form::Form3);  // Cancel ends the pause at once
    rig.advance(50);
    EXPECT_GT(rig.platform.serialWrites.size(), paused);
    logon("mnuselogon", "1111");
    EXPECT_EQ(dialog.caption(), "STS user logon");
    rig.advance(7'999);
    ASSERT_TRUE(dialog.visible());
    rig.advance(1);
    ASSERT_FALSE(dialog.visible()) << "accepted at eight seconds";
    EXPECT_EQ(rig.caption(kMainWindow), "ZID evevori/User Login(Local)");
}

// The login again every 20 s, 5 s later while the slot is busy, until the device drops it.
TEST_F(LoginDialog, KeepsTheLoginAliveUntilTheDeviceDropsIt) {
    logon("mnuselogon", "1111");
    rig.advance(8'000);
    auto keepAlives = [&] { return std::ranges::count(rig.commandsSent(), "U1111\r"); };
    const std::int64_t due = rig.platform.timers[int(TimerId::Timer2)].dueMs;
    rig.advance(due - 2'000 - rig.now());
    logon("mnuselogon", "1111");  // a second login holds the slot paused at `due`
    rig.advance(6'500);
    EXPECT_EQ(keepAlives(), 0);
    rig.advance(600);
    EXPECT_EQ(keepAlives(), 1) << "5 s later";
    rig.advance(20'000);
    EXPECT_EQ(keepAlives(), 2) << "then every 20 s";
    rig.click(kServiceLoginMenu);
    rig.click("Command2", Form::Form3);  // a dialog opened, not used: the level stays
    rig.advance(20'000);
    EXPECT_EQ(keepAlives(), 3);
    rig.sts.handle("OUT", rig.now());  // the device dropped the login
    rig.advance(40'000);
    EXPECT_EQ(keepAlives(), 3) << "no keep-alive without a login";
}

// The verdict is on the level asked for; the login is repeated on the Log event tab too,
// between two records, and its "OK" never replaces the reply to an operator's command, which
// names that command; a login that ends without "Logout" is said until the next one.
TEST(Login, JudgedOnTheLevelAskedKeptAliveOnEveryTabQuietAndALapseIsSaid) {
    VirtualRig rig;
    rig.start();
    EXPECT_FALSE(rig.element(kLogoutMenu).enabled()) << "nobody to log out";
    for (const char* password : {"1111", "0000"}) {
        rig.click(password[0] == '1' ? "mnuselogon" : "mnlogon");
        rig.type("Text1", password, Form::Form3);
        rig.click("Command1", Form::Form3);
        rig.advance(8'000);
    }
    EXPECT_EQ(rig.caption("Label2", Form::Form3), "Login failed") << "a user login stands";
    rig.click("Command2", Form::Form3);
    rig.select("SSTab1", kLogTab);
    const auto keepAlives = [&] { return std::ranges::count(rig.commandsSent(), "U1111\r"); };
    const auto before = keepAlives();
    rig.advance(45'000);
    EXPECT_EQ(keepAlives() - before, 3) << "at 20, 40 and 60 s";
    EXPECT_EQ(rig.element(kStsLogList).items().size(), 128u) << "the download went on";
    rig.select("SSTab1", kControlTab);
    rig.advance(100);
    rig.click("Command2_4");
    rig.answer(true);
    rig.advance(25'000);  // a keep-alive answered "OK" meanwhile
    EXPECT_EQ(rig.caption(kStatusLine) + rig.caption(kDeviceMessage),
              "Output inhibit (INH): ACCESS DENIED\r");
    rig.sts.handle("OUT", rig.now());  // the device dropped the login
    rig.runPast("SAS");
    EXPECT_EQ(rig.caption(kMainWindow), "ZID evevori/Logout, login lapsed at 14:06(Local)");
    EXPECT_FALSE(rig.element(kLogoutMenu).enabled());
}

// A clean end with a login shown logs out once the exchange on the line is over, and ends
// at the reply to "OUT" or 2 s later.
TEST(Login, ExitLogsOutFirstAndNeverWaitsLongerThanTwoSeconds) {
    const struct Case {
        const char* login;  // held by the device from the start
        bool outUnanswered;
        int endsAfterMs;  // FIR is on the line for 25 ms, the reply time-out is 1 s
    } cases[] = {{"U1111", false, 50}, {"P9999", true, 1025}, {"", false, 0}};
    for (const Case& c : cases) {
        VirtualRig rig;
        rig.sts.handle(c.login, 0);
        rig.fault("OUT").silent = c.outUnanswered;
        rig.start();
        rig.runPast("SAS");
        const std::int64_t t0 = rig.now();
        rig.click(kExitMenu);
        rig.runUntil([&] { return rig.readFile("SERLOGS/2026-12.TXT").ends_with("end\r\n"); });
        EXPECT_EQ(rig.now() - t0, c.endsAfterMs);
        EXPECT_EQ(std::ranges::count(rig.commandsSent(), "OUT"), c.endsAfterMs ? 1 : 0);
    }
}

// Logon while a log record, or a relay client's command, is on the line: the login goes out
// once that exchange has its reply or its time-out, each reply reaches only the party that
// asked, and the verdict reads a status polled after the login, on any tab.
TEST(Login, WaitsForTheExchangeOnTheLineAndJudgesByAStatusReadAfterIt) {
    const struct Case {
        int tab;
        const char* slow;  // in flight when polling pauses
        sts::LinkFaults line;
        int loginAt;  // ms after Logon
        Texts relayAnswers;
    } cases[] = {
        {kLogTab,
         "LOG002",
         {.delayMs = 3500, .reply = "$003 000 000 000 010 002 001 002 007\r"},
         3500,
         {}},
        {kMeasuresTab, "XF1", {.delayMs = 1200}, 3000, {"LOGON PLEASE\r"}},
        {kMeasuresTab, "XF1", {.silent = true}, 4000, {"Timeout\r"}},
    };
    for (const Case& c : cases) {
        VirtualRig rig("COMPORT:1\r\nTIMEOUT:5000\r\n");
        rig.fault(c.slow) = c.line;
        rig.start();
        rig.select("SSTab1", c.tab);
        rig.advance(200);  // LOG002 is on the line
        const std::int64_t t0 = rig.now();
        rig.click(kUserLoginMenu);
        rig.type("Text1", "1111", Form::Form3);
        rig.click("Command1", Form::Form3);
        rig.advance(950);
        const int client = c.tab ? 0 : rig.ask("XF1\r");
        rig.runUntil([&] { return !rig.element("Form3", Form::Form3).visible(); }, 12'000);
        const auto& writes = rig.platform.serialWrites;
        const auto login = std::ranges::find(writes, std::string("U1111\r"), &WireRecord::text);
        ASSERT_NE(login, writes.end());
        EXPECT_EQ(login->atMs - t0, c.loginAt) << c.slow;
        EXPECT_EQ(client ? rig.answers(client) : Texts{}, c.relayAnswers);
        EXPECT_EQ(rig.caption(kMainWindow), "ZID evevori/User Login(Local)") << c.slow;
        const Texts& rows = rig.element(kStsLogList).items();
        EXPECT_EQ(rows.size() > 2 ? rows[2] : "", c.tab ? "2-01/02/2007  10:02 On source 1-" : "");
    }
}

TEST(ControlTab, EachButtonQueuesItsCommandForTheGapAfterTheNextStatusPollIfLoggedIn) {
    VirtualRig rig;
    rig.sts.handle("U1111", 0);  // a user is logged in
    rig.start();
    rig.select("SSTab1", 3);
    rig.runPast("SAS");
    auto click = [&](int button) {  // answered Yes; gives the question, "" when none was asked
        rig.click("Command2_" + std::to_string(button));
        return rig.answer(true);
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
    const auto& writes = rig.platform.serialWrites;
    EXPECT_EQ(writes.end()[-2].atMs - writes.end()[-3].atMs, 35) << "after the status poll";
    EXPECT_EQ(rig.caption(kStatusLine), "Sound off (SOF): OK\r");
    click(6);
    rig.runUntil([&] { return rig.commandsSent().back() == "SON"; });
    EXPECT_EQ(click(7), "Send \"Sound off\" (SOF) to the STS?") << "lost: an answer is awaited";
    EXPECT_EQ(next(3), (Texts{"SAS", "SAS", "SAS"}));
    rig.sts.handle("OUT", rig.now());
    rig.advance(250);
    EXPECT_EQ(click(3), "") << "not logged in: nothing asked";
    EXPECT_EQ(rig.caption("Form3", Form::Form3), "STS user logon");
    rig.advance(3'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "TST"), 0);
    // The login the button asked for succeeds: the button's question follows.
    rig.type("Text1", "1111", Form::Form3);
    rig.click("Command1", Form::Form3);
    rig.runUntil([&] { return !rig.element("Form3", Form::Form3).visible(); }, 12'000);
    EXPECT_EQ(rig.answer(true),
              "Send \"XFER test\" (TST) to the STS?\n\nXFER to alternate and "
              "retransfer to preferred.");
    rig.advance(3'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "TST"), 1);
}

// The device holds `values` for options 32..44; one out of its range is read as if it held it.
void holdOptions(VirtualRig& rig, const std::array<int, 13>& values) {
    for (int n = 0; n < 13; ++n)
        if (!rig.sts.options().write(threeDigits(32 + n) + threeDigits(values[n])))
            rig.fault("M0" + threeDigits(32 + n)).reply = "#" + threeDigits(values[n]) + "\r";
}

Texts optionWrites(VirtualRig& rig) {
    Texts writes;
    std::ranges::copy_if(rig.commandsSent(), std::back_inserter(writes),
                         [](const std::string& c) { return c.starts_with("W"); });
    return writes;
}

TEST(OptionsTab, CycleShowsEveryOptionMaskedLoadsTheEditorOnceAndReadsAllAgainAfterAWrite) {
    VirtualRig rig;
    holdOptions(rig, {2, 0, 15, 1, 30, 6, 1, 0, 1, 3, 1, 0, 1});
    rig.sts.handle("U1111", 0);
    rig.start();
    rig.select("SSTab1", 1);
    rig.runPast("SAS");
    Texts reads = rig.commandsSent();
    EXPECT_EQ(reads.size(), 15u) << "thirteen options, the status poll, the first option again";
    EXPECT_EQ(reads[12] + reads[13] + reads[14], "M0044SASM0032");
    // Masked: 2 AND 1 is "Source 1"; 6 AND 3 is the second "Disable". 2 and 4 are numbers.
    std::string shown, selected;
    for (int n = 0; n < 13; ++n) {
        const std::string i = std::to_string(n);
        shown += rig.caption("Label32_" + i) + "|";
        selected += (n == 2 || n == 4) ? rig.caption("Label30_" + i) + "=" +
                                             std::to_string(rig.element("UpDown1_" + i).value())
                                       : std::to_string(rig.element("Combo1_" + i).listIndex());
        selected += " ";
    }
    EXPECT_EQ(shown,
              "Source 1|Off|15|Enable|30|Disable|Manual|Automatic|ON|Flying XFER|On|Off|Flying|");
    EXPECT_EQ(selected, "0 0 15=15 1 30=30 2 1 0 1 3 1 0 1 ");

    rig.click(kUpdateSts);  // the loaded values are no choice to write
    rig.select("Combo1_3", 0);
    rig.runPast("SAS");
    EXPECT_EQ(rig.element("Combo1_3").listIndex(), 0) << "the editor is loaded once";
    EXPECT_TRUE(optionWrites(rig).empty());
    rig.select("Combo1_3", 1);  // back to what the STS holds: nothing to send

    // A write queued mid-cycle goes out instead of the next display.
    rig.runUntil([&] { return rig.commandsSent().back() == "M0036"; });
    const std::size_t before = rig.platform.serialWrites.size();
    rig.select("Combo1_7", 1);  // "inhibit reset": "Manual"
    rig.click(kUpdateSts);
    EXPECT_EQ(rig.answer(true), "Set \"inhibit reset\" to \"Manual\" (W0039001) on the STS?");
    rig.runPast("SAS");
    reads = rig.commandsSent();
    reads.erase(reads.begin(), reads.begin() + before);
    ASSERT_EQ(reads.size(), 1u + 15) << "a complete re-read follows the write";
    EXPECT_EQ(Texts(reads.begin(), reads.begin() + 3), (Texts{"W0039001\r", "M0032", "M0033"}));
    EXPECT_EQ(rig.caption("Label32_7"), "Manual");
}

// Every edit is sent, in option order, or named as unsent with the reason; a value put
// back to the device's is no edit.
TEST(OptionsTab, UpdateStsSendsEveryEditedOptionOrSaysWhyNot) {
    const std::string readOnly = ", which this program can only read from the STS.";
    struct Case {
        const char* name;
        bool loggedIn;
        std::vector<std::pair<std::string, int>> edits;  // Combo1_n position, UpDown1_n value
        Texts written;
        std::string said;  // the question or message
        bool yes = true;
    } const cases[] = {
        {"nothing edited since start-up", true, {}, {}, ""},
        {"two selectors, one back to the STS's value",
         true,
         {{"Combo1_5", 3}, {"Combo1_3", 1}, {"Combo1_6", 0}, {"Combo1_1", 1}},
         {"W0033001\r", "W0037003\r"},
         "Set on the STS?\n\"re transfer\" to \"On\" (W0033001)\n\"Nonsynchron transfer mode\" "
         "to \"Zero Current\" (W0037003)"},
        {"a selector and the arrows of a number",
         true,
         {{"Combo1_1", 1}, {"UpDown1_2", 8}},
         {"W0033001\r"},
         "Set \"re transfer\" to \"On\" (W0033001) on the STS?\n\nNot sent: \"return delay\" (8)" +
             readOnly},
        {"read-only ones alone",
         true,
         {{"UpDown1_4", 31}, {"Combo1_11", 1}},
         {},
         "Not sent: \"alarm hold time\" (31), \"SCR fault alarm\" (On), which each this program "
         "can only read from the STS."},
        {"not logged in", false, {{"Combo1_0", 1}}, {}, ""},
        {"answered No",
         true,
         {{"Combo1_0", 1}},
         {},
         "Set \"preferred source\" to \"Source 2\" (W0032001) on the STS?",
         false},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        holdOptions(rig, {0, 0, 5, 1, 30, 0, 0, 0, 0, 0, 0, 0, 0});
        rig.sts.handle(c.loggedIn ? "P9999" : "", 0);
        rig.start();
        rig.select("SSTab1", 1);
        rig.runPast("SAS");
        for (const auto& [control, value] : c.edits) {
            control.starts_with("Combo") ? rig.select(control, value)
                                         : rig.monitor.setValue(Form::Form1, control, value);
        }
        rig.click(kUpdateSts);
        std::string said;
        for (const MessageBoxRequest& m : rig.monitor.ui().takeMessages()) {
            said = m.text;
            if (!m.question.empty())
                rig.monitor.answer(m.owner, m.question, c.yes);
        }
        EXPECT_EQ(said, c.said) << c.name;
        rig.advance(8'000);
        EXPECT_EQ(optionWrites(rig), c.written) << c.name;
        EXPECT_EQ(rig.element("Form3", Form::Form3).visible(), !c.loggedIn) << c.name;
        EXPECT_EQ(rig.caption("Label30_2"), "5") << c.name << ": unsent, so as the STS holds it";
    }
}

}  // namespace
}  // namespace treld::testing
