// Notifications in virtual time, against far ends the test plays: a flapping alarm, failing
// targets and their retries, the heartbeat, notify.cfg's lines.
#include <gtest/gtest.h>

#include "fleet/notify_settings.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

struct Answer {
    int delayMs;
    DeliveryOutcome outcome;
};
// How the far end at each path answers; "hang" takes the attempt's whole time-out.
const std::map<std::string, Answer> kFarEnds = {
    {"ok", {200, {true, "HTTP 200 OK"}}},
    {"slow", {3000, {true, "HTTP 200 OK"}}},
    {"500", {100, {false, "HTTP 500 Internal Server Error"}}},
    {"refused", {10, {false, "Connection refused"}}},
    {"hang", {kAttemptTimeoutMs, {false, "timed out after 10 s"}}}};

struct NotifyRig : VirtualRig {
    explicit NotifyRig(const std::string& notifyCfg) {
        writeFile("notify.cfg", notifyCfg);
        holdReadings();
        platform.deliver = [this](const FakePlatform::Sent& sent) {
            EXPECT_EQ(++inFlight[sent.id], 1) << "two deliveries at once to " << sent.request.url;
            const std::string path = sent.request.url.substr(sent.request.url.rfind('/') + 1);
            const Answer answer = farEnds.contains(path) ? farEnds[path] : farEnds["ok"];
            at(now() + answer.delayMs, [this, id = sent.id, answer] {
                --inFlight[id];
                monitor.onDelivered(id, answer.outcome);
            });
        };
        fleet = &monitor.startFleet({}, "pc-7", nullptr);
        monitor.startNotifications("pc-7");
        start();
    }
    std::vector<FakePlatform::Sent> to(std::string_view path) const {
        std::vector<FakePlatform::Sent> found;
        std::ranges::copy_if(platform.deliveries, std::back_inserter(found),
                             [&](const auto& sent) { return sent.request.url.ends_with(path); });
        return found;
    }
    void silence(bool on) {
        line.cut = on;
        for (auto& [command, fault] : faults)
            fault.cut = on;
    }
    std::string header(const FakePlatform::Sent& sent, std::string_view name) const {
        for (const auto& [key, value] : sent.request.headers)
            if (key == name)
                return value;
        return "";
    }
    TargetFigures figures(std::size_t target) { return monitor.notifications().figures()[target]; }

    std::map<std::string, Answer> farEnds = kFarEnds;
    std::map<int, int> inFlight;
    Fleet* fleet;
};

TEST(Notifications, FlappingAlarmAgainstASlowTargetKeepsOneInFlightAndDeliversTheNewest) {
    NotifyRig rig("WEBHOOK:http://h/slow\nNTFY:http://h/ok\nEVENTS:alarms\n");
    const std::string records[] = {statusRecord({{5, '1'}}), statusRecord({{23, '1'}, {36, '1'}})};
    for (int second = 0; second < 60; ++second) {
        rig.fault("SAS").reply = records[second % 2];
        rig.advance(1000);
    }
    rig.advance(10'000);
    const TargetFigures slow = rig.figures(0), fast = rig.figures(1);
    std::cout << "A flapping alarm, 60 changes in 60 s, a webhook answering in 3 s: " << slow.events
              << " events, " << slow.delivered << " deliveries, " << slow.leftOut << " coalesced\n";
    EXPECT_EQ(slow.events, 61u);  // with the start-up event
    EXPECT_EQ(slow.delivered + slow.leftOut, slow.events);
    EXPECT_LE(slow.delivered, 22u);
    const std::string last = rig.to("/slow").back().request.body;
    EXPECT_NE(last.find(R"("code":100,)"), std::string::npos);
    EXPECT_NE(last.find(R"("alarms":["Overload","Output SW.off"],"left_out":)"), std::string::npos)
        << last;
    EXPECT_EQ(fast.events, 60u);  // alarms only
    EXPECT_EQ(fast.delivered, 60u);
    const auto pushed = rig.to("/ok");
    EXPECT_EQ(pushed[0].request.body, "-S1 Black out");
    EXPECT_EQ(rig.header(pushed[0], "Priority"), "high");
    EXPECT_EQ(rig.header(pushed[0], "Title"), "pc-7");
}

// The waits after each failed attempt (s), whatever the failure.
constexpr int kWaits[] = {5, 10, 20, 40, 80, 160, 300};

TEST(Notifications, FailingTargetsRetryWithGrowingWaitsSayItOnceAndLoseNothingWithinTheBound) {
    for (const std::string path : {"500", "refused", "hang"}) {
        SCOPED_TRACE(path);
        NotifyRig rig("WEBHOOK:http://h/" + path + "\n");
        rig.advance(10'000);
        for (int loss = 0; loss < 12; ++loss) {  // 24 link events while it fails
            rig.silence(true);
            rig.advance(6000);
            rig.silence(false);
            rig.advance(3000);
        }
        rig.runUntil([&] { return rig.to(path).size() > std::size(kWaits); }, 20 * 60'000);
        const auto attempts = rig.to(path);
        for (std::size_t i = 1; i < attempts.size(); ++i) {
            const std::int64_t wait =
                attempts[i].atMs - attempts[i - 1].atMs - kFarEnds.at(path).delayMs;
            EXPECT_GE(wait, kWaits[i - 1] * 1000) << i;
            EXPECT_LT(wait, kWaits[i - 1] * 1000 + 1000) << i;
        }
        EXPECT_EQ(std::ranges::count_if(rig.platform.stderrLines,
                                        [](auto& l) { return l.starts_with("Notification to"); }),
                  1);
        EXPECT_NE(rig.fleet->metrics().find(
                      "treld_notifications_failed_total{station=\"pc-7\",target=\"webhook1\"} 7\n"),
                  std::string::npos);

        rig.farEnds[path] = kFarEnds.at("ok");
        // The newest that fit the queue (and the one under way) went, one of them counting
        // what gave way.
        rig.runUntil(
            [&] {
                const TargetFigures f = rig.figures(0);
                return f.delivered + f.leftOut == f.events;
            },
            400'000);
        const TargetFigures figures = rig.figures(0);
        EXPECT_GE(figures.events, 25u);
        EXPECT_LE(figures.delivered, Notifications::kMostWaiting + 1);
        EXPECT_EQ(figures.delivered + figures.leftOut, figures.events);
        const auto sent = rig.to(path);
        const std::string count = "\"left_out\":" + std::to_string(figures.leftOut);
        EXPECT_TRUE(std::ranges::any_of(
            sent, [&](const auto& s) { return s.request.body.find(count) != std::string::npos; }));
        EXPECT_NE(rig.readFile("notify.log")
                      .find("Notification to webhook1 failed: " + kFarEnds.at(path).outcome.answer +
                            " (" + sent[0].request.url + ")"),
                  std::string::npos);
    }
}

TEST(Notifications, HeartbeatStopsWhileTheLinkIsLostAndTheEndWaitsForWhatIsUnderWay) {
    NotifyRig rig(
        "HEARTBEAT:http://h/beat\nINTERVAL:10\nNTFY:http://h/slow\nEVENTS:link,program\n");
    rig.advance(35'000);
    rig.silence(true);
    rig.advance(60'000);
    rig.silence(false);
    rig.advance(5000);
    std::vector<std::int64_t> beats;
    for (const auto& beat : rig.to("/beat"))
        beats.push_back(beat.atMs / 1000);
    EXPECT_EQ(beats, (std::vector<std::int64_t>{1, 11, 21, 31, 96}));
    const auto pushed = rig.to("/slow");
    ASSERT_EQ(pushed.size(), 3u);
    EXPECT_EQ(pushed[1].request.body, "Link lost COM1");
    EXPECT_EQ(rig.header(pushed[2], "Priority"), "low");

    rig.monitor.stop();
    rig.advance(2000);
    EXPECT_EQ(rig.platform.exits, 0);  // "Program end" still under way
    rig.advance(1100);
    EXPECT_EQ(rig.platform.exits, 1);
}

TEST(NotifySettings, LinesNotUnderstoodAreSaidAndSkipped) {
    std::vector<std::string> problems;
    const NotifySettings settings = readNotifySettings(
        "WEBHOOK:ftp://x\nTOKEN:t\nNTFY:https://n/t\nTOKEN:tk\nEVENTS:alarms, link\nEVENTS:fire\n"
        "INTERVAL:60\nwebhook:http://x\nCOMMAND:\n\nHEARTBEAT:https://hc/1\nINTERVAL:9\n",
        problems);
    const std::string line = "notify.cfg line ";
    EXPECT_EQ(problems,
              (Texts{line + "1 not understood: not an http:// or https:// URL",
                     line + "2 not understood: TOKEN: belongs below an NTFY: line",
                     line + "6 not understood: EVENTS: takes alarms, link, recovered, program",
                     line + "7 not understood: INTERVAL: belongs below a HEARTBEAT: line",
                     line + "8 not understood: unknown key", line + "9 not understood: no program",
                     line + "12 not understood: INTERVAL: takes seconds from 10 to 32767"}));
    ASSERT_EQ(settings.targets.size(), 2u);
    EXPECT_EQ(settings.targets[0].token, "tk");
    EXPECT_EQ(settings.targets[0].events, unsigned(kAlarmEvents | kLinkEvents));
    EXPECT_EQ(settings.targets[1].intervalSeconds, 60);
}

}  // namespace
}  // namespace treld::testing
