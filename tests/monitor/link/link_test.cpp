// The links to the device as their peers see them: relay clients, the remote
// station's relay server, the demo table standing in for the device, and the
// watch over a link that is lost and comes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>

#include "link/login_pacer.h"
#include "link/refusal_audit.h"
#include "link/relay_server.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

class RelayServer : public ::testing::Test {
  protected:
    void SetUp() override {
        // The poll commands with an entry in the table are the ones cached.
        rig.writeFile("DEMOSET.CFG", "SRV:#demo\r\nSST:#000\r\n");
        for (int i = 1; i <= 16; ++i)
            rig.fault("Q" + std::to_string(i)).reply = "Q" + std::to_string(i) + "+\r";
        rig.start();
    }
    bool closed(int slot) { return std::ranges::count(rig.platform.closedSlots, slot) > 0; }
    const std::string& answer(int slot) {
        rig.runUntil([&] { return !rig.answers(slot).empty(); });
        return rig.answers(slot).at(0);
    }
    VirtualRig rig;
};

TEST_F(RelayServer, PollTextsComeFromTheCacheOthersFromTheDeviceAfterTheCurrentExchange) {
    const int early = rig.ask("SR");  // collected up to its CR, answered once
    EXPECT_TRUE(rig.answers(early).empty());
    rig.monitor.onRelayData(early, "V\r\nSST\r");
    EXPECT_EQ(rig.answers(early), Texts{"Time out\r"}) << "nothing polled yet";
    EXPECT_FALSE(closed(early));
    rig.monitor.onRelaySendComplete(early);
    EXPECT_TRUE(closed(early)) << "closed once the answer is sent";
    const int streaming = rig.ask("SRV\r");
    rig.monitor.onRelayData(streaming, "SRV\r");
    EXPECT_TRUE(closed(streaming)) << "more after its request: closed at once";
    rig.runPast("SST");
    EXPECT_EQ(answer(rig.ask("SRV\r")), rig.replied["SRV"]) << "one CR, as on the device's line";
    EXPECT_EQ(answer(rig.ask("SST\r")), "Time out\r") << "SST is never cached";

    rig.runUntil([&] { return rig.commandsSent().back() == "SRV"; });
    const std::int64_t srvAt = rig.now();
    EXPECT_EQ(answer(rig.ask("Q1\r")), "Q1+\r");
    EXPECT_EQ(rig.commandsSent().end()[-2], "Q1") << "sent when SRV's reply was evaluated";
    EXPECT_EQ(rig.platform.serialWrites.end()[-2].atMs, srvAt + 25);
    rig.fault("SRV").silent = true;  // SRV's time-out empties its entry again
    rig.runPast("SRV");
    EXPECT_EQ(answer(rig.ask("SRV\r")), "Time out\r");
    rig.platform.serialWritesFail = true;
    EXPECT_EQ(answer(rig.ask("Q2\r")), "Can not open com1\r");
    EXPECT_EQ(rig.readFile("SERLOGS/2026-12.TXT").find("Relay Q2"), std::string::npos)
        << "never reached the device: not audited as forwarded";
}

// With Logout queued too: one command of the operator or of a client between
// two poll commands, each with its own reply or "Timeout" 3 s on.
TEST_F(RelayServer, OverlappingForwardsGoOutOneByOneBetweenPollsAndEachClientGetsItsOwnReply) {
    rig.fault("Q5").silent = true;
    rig.advance(60);
    rig.click(kLogoutMenu);
    for (int i = 1; i <= 9; ++i)
        rig.ask("Q" + std::to_string(i) + "\r");
    EXPECT_EQ(rig.answers(9), Texts{"Timeout\r"}) << "beyond the queue's bound: answered at once";
    rig.monitor.onRelayClosed(2);  // gone while queued: its command is never sent
    for (int i : {1, 3, 4, 6, 7, 8})
        EXPECT_EQ(answer(i), "Q" + std::to_string(i) + "+\r");
    EXPECT_EQ(answer(5), "Timeout\r") << "the device was silent";
    rig.advance(5'000);
    const Texts sent = rig.commandsSent();
    EXPECT_EQ(std::ranges::count(sent, "Q2") + std::ranges::count(sent, "OUT"), 1);
    const std::size_t q5 = std::ranges::find(sent, "Q5") - sent.begin();
    EXPECT_EQ(rig.platform.serialWrites.at(q5 + 1).atMs - rig.platform.serialWrites[q5].atMs, 3000);
    auto forwarded = [](const std::string& command) { return command[0] == 'Q'; };
    for (auto it = std::ranges::find_if(sent, forwarded); it != sent.end();) {
        const auto next = std::find_if(it + 1, sent.end(), forwarded);
        EXPECT_TRUE(next == sent.end() || std::find(it, next, "SAS") != next)
            << "no status read between " << *it << " and " << *next;
        it = next;
    }
}

// Three clients that ask again as soon as answered, with commands the device ignores: at
// most one 3 s wait falls between two status reads.
TEST_F(RelayServer, IgnoredForwardsCostAtMostOneWaitBetweenStatusReads) {
    rig.fault("Q5").silent = true;
    rig.advance(1000);
    std::array<std::pair<int, std::size_t>, 3> clients{};  // slot, its answers when asked
    for (int ms = 0; ms < 20'000; ms += 10, rig.advance(10)) {
        for (auto& [slot, had] : clients) {
            if (slot == 0 || rig.answers(slot).size() > had)
                had = rig.answers(slot = rig.ask("Q5\r")).size();
        }
    }
    std::int64_t last = 0, widest = 0;
    for (const WireRecord& write : rig.platform.serialWrites) {
        if (write.text == "SAS\r")
            widest = std::max(widest, write.atMs - std::exchange(last, write.atMs));
    }
    EXPECT_LT(widest, 3'500);
}

// relay.cfg: who may read, who may command; the status line names a refused peer once.
TEST(RelayAccess, ReadersReadCommandersCommandTheRestIsRefused) {
    VirtualRig rig;
    rig.writeFile("relay.cfg", "COMMAND:10.1.0.0/16\r\nREAD:10.2.0.5\r\nREAD:10.3.0.0/33\r\n");
    rig.start();
    EXPECT_EQ(rig.caption(kDeviceMessage), "relay.cfg line 3 not understood");
    rig.runPast("DAT");
    const std::string cases[][3] = {
        // peer, request, answer ("": closed unanswered)
        {"10.9.9.9", "SRV", ""},  // not a reader
        {"10.3.0.1", "SRV", ""},  // the bad range allows nobody
        {"10.2.0.5", "SRV", rig.replied["SRV"]},
        {"10.2.0.5", "M0033", "#001\r"},        // an option read is forwarded
        {"10.1.7.7", "XF2", "LOGON PLEASE\r"},  // the device's own refusal
        {"127.0.0.1", "INH", "LOGON PLEASE\r"},
        {"127.0.0.1",
         "X\x7f"
         "F2",
         "ACCESS DENIED\r"},  // control characters from anyone
        {"10.2.0.5", "XF2", "ACCESS DENIED\r"},
        {"10.2.0.5", "U1111", "ACCESS DENIED\r"},                   // the device would take it
        {"10.2.0.5", std::string("M\0XF2", 5), "ACCESS DENIED\r"},  // a read is its exact shape
        {"10.2.0.5", "LOG12", "ACCESS DENIED\r"},
        {"127.0.0.1", "", ""},  // an empty request goes nowhere
    };
    for (const auto& [peer, request, answer] : cases) {
        rig.platform.relayPeer = peer;
        const int slot = rig.ask(request + "\r");
        if (!answer.empty())
            rig.runUntil([&] { return !rig.answers(slot).empty(); });
        const bool closed = std::ranges::count(rig.platform.closedSlots, slot) > 0;
        const Texts expected = answer.empty() ? Texts{} : Texts{answer};
        EXPECT_TRUE(rig.answers(slot) == expected && closed == answer.empty()) << request;
    }
    EXPECT_EQ(rig.caption(kStatusLine), "Relay refused XF2 from 10.2.0.5");
}

// A mistake in relay.cfg allows nobody for its rule and is said; a relay that cannot listen
// says so and tries again every 10 s.
TEST(RelayAccess, ConfigMistakesFailClosedAndAreSaidAndListeningIsRetried) {
    const std::string cases[][4] = {
        // relay.cfg, who may read of 10.2.0.5 and 10.9.9.9, listened on, said
        {"READ:10.2.0.5\r\n", "yn", "", ""},
        {"Read:10.2.0.5\r\n", "nn", "", "relay.cfg line 1 not understood"},
        {"\xEF\xBB\xBFREAD:10.2.0.5\r\n\r\n", "nn", "", "relay.cfg line 1 not understood"},
        {"COMMAND:10.2.0.5\r\n READ:10.2.0.5\r\nX\r\n", "yn", "",
         "relay.cfg line 2 not understood (2 lines)"},
        {"LISTEN:127.0.0.3\r\n", "yy", "127.0.0.3", ""},
        {"listen:127.0.0.3\r\n", "yy", "-",
         "relay.cfg line 1 not understood; trying again every 10 s"},
        {"Read:10.2.0.5\r\n", "nn", "port",
         "relay.cfg line 1 not understood; port:1118 in use; trying again every 10 s"},
    };
    for (const auto& [file, readers, listened, said] : cases) {
        VirtualRig rig;
        rig.writeFile("relay.cfg", file);
        rig.platform.relayListens = listened != "port";
        rig.start();
        std::string read;
        for (const char* peer : {"10.2.0.5", "10.9.9.9"}) {
            rig.platform.relayPeer = peer;
            read += std::ranges::count(rig.platform.closedSlots, rig.ask("SST\r")) ? 'n' : 'y';
        }
        const Texts listens = rig.platform.listenAddresses;
        EXPECT_EQ(read, readers) << file;
        EXPECT_EQ(listens, listened == "-" ? Texts{} : Texts{listened == "port" ? "" : listened});
        EXPECT_EQ(rig.platform.stderrLines,
                  said.empty() ? Texts{} : Texts{"Relay server: " + said});
        EXPECT_EQ(rig.caption(kDeviceMessage), said) << file;
        rig.platform.relayListens = true;
        rig.advance(10'000);
        EXPECT_EQ(rig.platform.listenAddresses.size(), listens.size() + (listened == "port"));
    }
}

// One login per peer every 2 s, however wrapped; five different ones in a minute lock it out for
// 5 minutes whatever the device's login state; the audit never shows a password.
TEST(RelayAccess, LoginGuessesArePacedAndLockedOut) {
    VirtualRig rig;
    rig.start();
    auto login = [&](const std::string& peer, const std::string& text) {
        rig.platform.relayPeer = peer;  // a refused login is answered at once
        return rig.answers(rig.ask(text + "\r")).empty() ? 'y' : 'n';
    };
    const std::int64_t start = rig.now();
    std::string admitted;
    for (int second = 0; second < 12; ++second, rig.advance(1000))
        admitted += login("127.0.0.1", "\nU" + std::to_string(3000 + second));
    EXPECT_EQ(admitted, "ynynynynynnn") << "the sixth guess locks the peer out";
    admitted.clear();
    for (const char* text :
         {"U1111", "U1111", "P0001", "U1111", "P0002", "P0003", "P0004", "P0005"}) {
        admitted += login("::1", text);  // logged in as a user by the first
        rig.advance(kLoginSpacingMs);
    }
    EXPECT_EQ(admitted, "yyyyyyyn") << "its own login repeated is no guess";
    rig.advance(start + 9'000 + kLoginLockMs - 1000 - rig.now());  // locked at the sixth
    EXPECT_EQ(login("127.0.0.1", "U0000"), 'n');
    rig.advance(1000);
    EXPECT_EQ(login("127.0.0.1", " U0000"), 'y');
    const std::string audit = rig.readFile("SERLOGS/2026-12.TXT");
    EXPECT_FALSE(std::regex_search(audit, std::regex("[0-9]{4} from"))) << audit;
    EXPECT_NE(audit.find(" 300 05-12-2026--14:05:00 Relay U**** from 127.0.0.1"),
              std::string::npos);
}

// One line for a peer's first refusal, then one a minute with the count; 64 peers one by one.
TEST(RelayAccess, RefusalsAreAuditedOnceThenSummedUpOnceAMinute) {
    VirtualRig rig;
    rig.start();
    for (int i = 0; i < 270; ++i) {
        rig.platform.relayPeer = i < 200 ? "10.2.0.5" : "10.3.0." + std::to_string(i);
        rig.ask("XF2\r");
        rig.advance(i < 199 ? 100 : i == 199 ? 41'000 : 0);
    }
    rig.advance(61'000);
    const std::string log = rig.readFile("SERLOGS/2026-12.TXT");
    EXPECT_NE(log.find("Relay refused 199 more from 10.2.0.5 within a minute"), std::string::npos);
    // 10.2.0.5 is still counted, 63 more peers one by one, the rest share a line and a summary.
    EXPECT_EQ(std::ranges::count(log, '\n'), 1 + 2 + (kRefusalPeersKept - 1) + 2) << log;
}

TEST_F(RelayServer, SlotsGoRoundOverlongSilentAndUnforwardableRequestsAreDropped) {
    rig.advance(60);
    rig.ask("Q1\r");
    rig.advance(20);  // Q1 is in flight for slot 1
    ASSERT_EQ(rig.commandsSent().back(), "Q1");
    for (int i = 2; i <= 16; ++i)
        rig.monitor.onRelayConnectionRequest();
    EXPECT_EQ(rig.platform.acceptedSlots,
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}));
    EXPECT_TRUE(closed(1));
    rig.monitor.onRelayData(1, "Q16\r");
    EXPECT_EQ(answer(1), "Q16+\r") << "Q1's reply went to nobody";
    for (int slot = 1; slot <= 15; ++slot)
        rig.monitor.onRelayClosed(slot);
    rig.platform.closedSlots.clear();

    const int flood = rig.ask(std::string(kRelayRequestLimit, 'x'));
    EXPECT_FALSE(closed(flood));
    rig.monitor.onRelayData(flood, "x");
    EXPECT_TRUE(closed(flood));
    const int silent = rig.ask("");
    rig.select("SSTab1", 3);  // Control tab: nothing is forwarded
    const int queued = rig.ask("Q2\r");
    rig.advance(10'000);  // a client may stay idle for 10 s
    EXPECT_FALSE(closed(silent) || !rig.answers(queued).empty());
    rig.advance(1000);  // idle too long: dropped, or answered if waiting
    EXPECT_TRUE(closed(silent) && rig.answers(silent).empty() && rig.answers(flood).empty());
    EXPECT_EQ(rig.answers(queued), Texts{"Timeout\r"});
}

TEST(RemoteClient, OneConnectionPerCommandWithItsReplyUpToTheCrAndErrorsLeftToTheTimeOut) {
    VirtualRig rig("REMOTEIP2:10.0.0.7\r\nREMOTEPORT:1200\r\n");
    rig.fault("SRV").chunks = 6;
    rig.fault("SST").silent = true;
    rig.start();
    rig.select("List3", 1);
    rig.click(kConnect);
    EXPECT_EQ(rig.answers(rig.ask("XF1\r")), Texts{"Time out\r"}) << "its own clients: at once";
    rig.monitor.onRemoteData(std::string(kReceiveLimit + 1, 'x'));
    EXPECT_EQ(rig.platform.remoteCloses, 1) << "more than any reply: disconnected";
    rig.advance(50);  // the first SRV goes out over TCP
    EXPECT_EQ(rig.platform.remoteConnects.at(0), (std::pair<std::string, int>{"10.0.0.7", 1200}));
    rig.advance(70);  // SRV's reply evaluated at 96, OPL sent at 116
    EXPECT_EQ(rig.caption("Label8") + rig.caption("Label4"), "2300500");
    EXPECT_EQ(rig.platform.remoteConnects.size(), 2u) << "OPL on a connection of its own";

    rig.runUntil([&] { return rig.platform.remoteConnects.size() == 3; });  // SST, unanswered
    rig.advance(5);
    rig.monitor.onRemoteError();
    rig.faults.erase("SST");
    rig.advance(995);  // 1 s after SST went out
    EXPECT_EQ(rig.caption(kStatusLine), "Remote STS communication time out");
    rig.advance(3'000);
    EXPECT_EQ(rig.platform.remoteConnects.size(), 4u) << "the next command 3 s later";

    rig.click(kLogoutMenu);
    rig.runUntil([&] { return rig.caption(kDeviceMessage) == "OK\r"; });
    rig.advance(5'000);
    EXPECT_EQ(rig.caption(kDeviceMessage), "") << "a fixed reply shows for 5 s";
    EXPECT_TRUE(rig.platform.serialWrites.empty());
}

// However the link goes (a garbled line too), it is logged once, relay clients and panels lose
// the old values, the windows show the device's state stale and since when nothing came, the
// loss is mailed after 30 s, and the first reply brings it all back, logged once.
TEST(LinkWatch, ALostLinkIsLoggedOnceForgottenMailedAt30sAndBackAtTheFirstReply) {
    using Step = std::function<void(VirtualRig&)>;
    const Step plugIn = [](VirtualRig& r) { r.platform.serialOpens = true; };
    const Step silence = [](VirtualRig& r) {
        r.fault("SRV").silent = r.fault("OPL").silent = true;
    };
    const Step answer = [](VirtualRig& r) { r.faults.clear(); };
    const Step garble = [](VirtualRig& r) {  // a noisy line: garbage with a CR
        r.fault("SRV").reply = r.fault("OPL").reply = "#2\x93 231,\r";
    };
    const struct Case {
        Step lose, restore;
        std::string link, statusLine;
    } cases[] = {
        {[](VirtualRig& r) { r.platform.serialOpens = false, r.monitor.onSerialLost(); }, plugIn,
         "COM1", "COM 1 Not opened select another port"},
        {[](VirtualRig& r) { r.platform.serialWritesFail = true; },
         [](VirtualRig& r) { r.platform.serialWritesFail = false; }, "COM1",
         "COM 1 Not opened select another port"},
        {silence, answer, "COM1", "Time out on com1"},
        {[](VirtualRig& r) {  // Settings: a port that is not there
             r.click(kSettingsMenu);
             r.select("Combo1", 2, Form::Form2);
             r.platform.serialOpens = false;
             r.click("Command1", Form::Form2);
         },
         plugIn, "COM2", "COM 2 Not opened select another port"},
        {[&](VirtualRig& r) { r.select("List3", 1), r.click(kConnect), silence(r); }, answer,
         "Remote STS 10.0.0.7", "Remote STS communication time out"},
        {garble, answer, "COM1", "Data error SRV"},
        {[&](VirtualRig& r) { r.select("List3", 1), r.click(kConnect), garble(r); }, answer,
         "Remote STS 10.0.0.7", "Data error SRV"},
    };
    for (const Case& c : cases) {
        VirtualRig rig("COMPORT:1\r\nTIMEOUT:1000\r\nEMAILENABLE:1\r\nREMOTEIP1:10.0.0.7\r\n");
        rig.writeFile("DEMOSET.CFG", "SAS:x\r\n");  // SAS replies are cached for relay clients
        rig.start();
        rig.advance(60'000);    // heard last at 14:06, a minute after the start
        const auto log = [&] {  // without the times
            return std::regex_replace(rig.readFile("SERLOGS/2026-12.TXT"),
                                      std::regex("[-:0-9]{20} "), "");
        };
        const std::string lost = " 1 Program start\r\n 200 Link lost " + c.link + "\r\n";
        c.lose(rig);
        rig.runUntil([&] { return log() == lost; });
        const std::int64_t lostAt = rig.now();
        EXPECT_EQ(rig.caption(kStatusLine) + rig.caption("Label8"), c.statusLine) << "panel blank";
        const std::string mode = c.link.starts_with("COM") ? "(Local)" : "(Remote)";
        EXPECT_EQ(rig.caption(kMainWindow) + rig.caption(kTemperature) + rig.caption(kStsTime),
                  "ZID evevori/No data since 14:06" + mode);
        const auto stale = [&] {
            return std::string{rig.element("sw1").stale(), rig.element(kLoadLive).stale(),
                               rig.element(kSource1Panel).stale(),
                               rig.element(kSource1Fault).stale(),
                               rig.element("Image2_0", Form::Form4).stale()};
        };
        EXPECT_EQ(stale(), std::string(5, true)) << c.link;
        if (c.link.starts_with("COM")) {  // a remote monitor serves no relay clients
            EXPECT_EQ(rig.answers(rig.ask("SAS\r")), Texts{"Time out\r"}) << c.link;
        }
        rig.advance(lostAt + 29'999 - rig.now());
        EXPECT_TRUE(rig.platform.startedPrograms.empty()) << c.link;
        rig.advance(1);
        ASSERT_EQ(rig.platform.startedPrograms.size(), 1u) << c.link;
        EXPECT_TRUE(rig.platform.startedPrograms[0].second.ends_with("<br>-Link lost " + c.link));
        c.restore(rig);
        rig.runUntil([&] { return log() != lost; }, 5'100);  // reopened within 5 s
        rig.advance(60'000);
        EXPECT_EQ(log(), lost + " 201 Link restored " + c.link + "\r\n");
        EXPECT_EQ(rig.caption("Label8") + rig.caption(kMainWindow),
                  rig.replied["SRV"].substr(1, 3) + "ZID evevori/Logout" + mode);
        EXPECT_EQ(stale(), std::string(5, false)) << c.link;
    }
}

TEST(DemoMode, TableLinesAreReadAsWrittenAndAnswerEverythingTheMonitorSendsInTheDemoPace) {
    VirtualRig rig("COMPORT:3\r\nTIMEOUT:1000\r\n");
    std::ifstream shipped(TRELD_SHIPPED_DEMOSET, std::ios::binary);  // 42 entries
    std::string table(std::istreambuf_iterator<char>(shipped), {});
    table += "   K1  :  #230 231  \r\nno colon\r\n\r\nK2:A:B\nsas:x\r\n";
    for (int i = 4; i <= 10; ++i)
        table += "K" + std::to_string(i) + ":A\r\n";
    rig.writeFile("DEMOSET.CFG", table);
    rig.platform.serialOpens = false;  // and demo mode needs no port
    rig.start();
    auto relayed = [&](const std::string& request) {  // a relay client's answer
        const int slot = rig.ask(request + "\r");
        rig.runUntil([&] { return !rig.answers(slot).empty(); });
        return rig.answers(slot).at(0);
    };
    const Texts& list = rig.element(kDemoSetList).items();
    EXPECT_EQ(Texts(list.begin() + 42, list.end()),
              (Texts{"43-K1#230 231", "44-K2A:B", "45-sasx", "46-K4A", "47-K5A", "48-K6A", "49-K7A",
                     "50-K8A"}));
    EXPECT_EQ(relayed("sas"), "Can not open com3\r")
        << "only poll commands, as written, are cached";
    rig.click(kSettingsMenu);  // Demo, in the Settings dialog
    rig.select("Combo1", 0, Form::Form2);
    rig.click("Command1", Form::Form2);
    rig.advance(1000);        // Save restarts polling a second later: SRV is answered
    rig.click(kSynchronize);  // clock and date: "OK" without table entries
    rig.advance(17 * 10);     // 10 ms a step: ACL, AD and the seven commands
    EXPECT_EQ(rig.caption(kStsDate), "");
    rig.advance(10);
    EXPECT_EQ(rig.caption(kStsDate) + rig.caption("Label8") + rig.caption(kStatusLine),
              "05/12/26230Data OK");
    EXPECT_EQ(rig.caption(kMainWindow) + "|" + rig.caption(kSendIndicator).substr(1),
              "ZID evevori/Logout(DEMO: recorded answers, no device)|DEMO: recorded answers, "
              "no device")
        << "said where the station is named";
    rig.click(kLogoutMenu);
    const std::int64_t clicked = rig.now();
    rig.runUntil([&] { return rig.caption(kStatusLine) == "Logout: OK"; });
    EXPECT_EQ(rig.now() - clicked, 20 + 20) << "taken after the next reply, answered 20 ms later";

    // Option writes are found by "W0" and the address, any log request gets one record.
    Texts answers;
    for (const char* request : {"K1", "K2", "K8", "K9", "xf1", "LOG123"})
        answers.push_back(relayed(request));
    EXPECT_EQ(answers, (Texts{"#230 231\r", "A:B\r", "A\r", "Timeout\r", "Timeout\r",
                              std::string(kDemoLogRecord) + "\r"}));
    for (std::string command : {"XF1", "XF2", "CXF", "TST", "INH", "IHR", "SON", "SOF", "OUT"})
        EXPECT_EQ(relayed(command), "OK\r") << command;
    for (int code = 32; code <= 44; ++code)
        EXPECT_EQ(relayed("W00" + std::to_string(code) + "001"), "OK\r") << code;
    const std::int64_t asked = rig.now();
    relayed("XF2");
    EXPECT_GT(rig.now() - asked, 7 * 20) << "taken once the cycle has gone round since the last";

    rig.select("SSTab1", 4);  // and the log download gets one record for each request
    rig.advance(10'000);
    const Texts& rows = rig.element(kStsLogList).items();
    ASSERT_EQ(rows.size(), 128u);
    EXPECT_EQ(rows[0] + rows[127],
              "0-10/09/2007  15:20 Service Login-127-10/09/2007  15:20 Service Login-");
    EXPECT_TRUE(rig.platform.serialWrites.empty());
}

}  // namespace
}  // namespace treld::testing
