// Fleet publishing in virtual time, against a broker client the test plays:
// outages, back-off, the bounded queue, and what leaves for the broker.
#include <gtest/gtest.h>

#include "fleet/payloads.h"
#include "foundation/main_window.h"
#include "status/alarms.h"
#include "status/status_record.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

struct FakeBroker : BrokerLink {
    explicit FakeBroker(FakePlatform& platform) : platform(platform) {}
    void connectBroker(const BrokerMessage&) override {
        attempts.push_back(platform.nowMs);
        onAttempt();
    }
    void disconnectBroker() override { ++disconnects; }
    int publish(const BrokerMessage& message) override {
        handed.push_back(message);
        return static_cast<int>(handed.size());
    }
    void subscribe(const std::string& filter) override { filters.push_back(filter); }
    std::vector<BrokerMessage> ofTopic(std::string_view suffix) const {
        std::vector<BrokerMessage> found;
        std::ranges::copy_if(handed, std::back_inserter(found), [&](const BrokerMessage& message) {
            return message.topic.ends_with(suffix);
        });
        return found;
    }

    FakePlatform& platform;
    std::function<void()> onAttempt;
    std::vector<std::int64_t> attempts;
    int disconnects = 0;
    std::vector<BrokerMessage> handed;  // message id n is handed[n - 1]
    std::vector<std::string> filters;
};

struct FleetRig : VirtualRig {
    explicit FleetRig(const std::string& stsConfig = "COMPORT:1\r\nSNAME:Plant A\r\n",
                      FleetSettings settings = {})
        : VirtualRig(stsConfig) {
        broker.onAttempt = [this] {
            if (refusing)
                at(now(), [this] { fleet->onBrokerLost(); });
        };
        holdReadings();
        fleet = &monitor.startFleet(std::move(settings), "pc-7", &broker);
        start();
    }
    // Runs until `done`; how often the status line turned to "MQTT: disconnected".
    int watch(const std::function<bool()>& done, std::int64_t limitMs) {
        int turns = 0;
        runUntil(
            [&] {
                const bool shows = caption(kStatusLine) == "MQTT: disconnected";
                turns += shows && !shown_ ? 1 : 0;
                shown_ = shows;
                return done();
            },
            limitMs);
        return turns;
    }
    int run(std::int64_t ms) {
        const std::int64_t end = now() + ms;
        return watch([&] { return now() > end; }, ms + 1000);
    }

    FakeBroker broker{platform};
    Fleet* fleet = nullptr;
    bool refusing = false;  // the broker refuses each attempt at once

  private:
    bool shown_ = false;
};

// A status record whose alarm flags spell `n` in binary: each n is an alarm of its own.
std::string alarmRecord(int n) {
    std::string record = kSasReply;
    for (const FlagPosition& flag : flagPositions()) {
        if (!flag.alarmText.empty() && flag.position <= kAlarmStatusLength) {
            record[flag.position - 1] = char('0' + n % 2);
            n /= 2;
        }
    }
    return record;
}

TEST(Fleet, OutageKeepsNewestStatusAndBoundedEventsRetriesWithBackOffAndSaysSoOnce) {
    FleetRig rig;
    rig.refusing = true;
    int turns = 0;
    for (int n = 1; n <= 1003; ++n) {  // 1003 alarms in the outage
        rig.fault("SAS").reply = alarmRecord(n);
        turns += rig.run(250);
    }
    EXPECT_EQ(rig.broker.attempts, (std::vector<std::int64_t>{1000, 2000, 4000, 8000, 16000, 32000,
                                                              64000, 124000, 184000, 244000}));
    EXPECT_EQ(turns, 1);
    EXPECT_TRUE(rig.broker.handed.empty());

    rig.refusing = false;
    rig.watch([&] { return rig.broker.attempts.size() > 10; }, 60'000);
    rig.fleet->onBrokerConnected();
    EXPECT_EQ(rig.broker.handed.size(), kDeliveryWindow) << "no more than the window at once";
    rig.fleet->onBrokerLost();  // with the window in flight
    rig.run(1000);
    rig.fleet->onBrokerConnected();
    for (std::size_t id = 1; id <= rig.broker.handed.size(); ++id)
        rig.fleet->onBrokerDelivered(static_cast<int>(id));

    // The start-up event and the first three alarms went to make room.
    const auto events = rig.broker.ofTopic("/event");
    ASSERT_GE(events.size(), kEventLimit);
    EXPECT_NE(events.front().payload.find("\"" + AlarmList(alarmRecord(4)) + "\""),
              std::string::npos);
    EXPECT_NE(events.back().payload.find("\"" + AlarmList(alarmRecord(1003)) + "\""),
              std::string::npos);
    // What was in flight at the loss went out again; the newest status once per connection.
    EXPECT_EQ(rig.broker.handed[kDeliveryWindow], rig.broker.handed[0]);
    const auto statuses = rig.broker.ofTopic("/status");
    ASSERT_TRUE(!statuses.empty() && statuses.size() <= 3u);
    // Alarm 1003 is 1111101011 in binary, over the flags in record order (2 3 5 6 7 8 9 11 12 14).
    EXPECT_NE(statuses.back().payload.find(
                  R"("faults":{"source1":"S1 SCR failure","source2":"S2 Black out","output":""},)"
                  R"("alarms":{"s1_volt_out_of_toler":true,"s1_phase_sequency":true,)"
                  R"("s1_scr_bad":true,"s1_blackout":false,"s1_balance":true,"s1_frequency":false,)"
                  R"("s1_input_sw_off":true,"s2_volt_out_of_toler":true,"s2_phase_sequency":true,)"
                  R"("s2_scr_bad":false,"s2_blackout":true,"s2_balance":false,)"),
              std::string::npos)
        << statuses.back().payload;
    const std::string metrics = rig.fleet->metrics();
    EXPECT_NE(metrics.find("treld_mqtt_dropped_events_total{station=\"Plant A\"} 4\n"),
              std::string::npos);

    const std::int64_t lostAt = rig.now();
    rig.fleet->onBrokerLost();  // a new outage is said again, and retried within a second
    EXPECT_EQ(rig.run(1000), 1);
    EXPECT_GT(rig.broker.attempts.back(), lostAt);
}

TEST(Fleet, AttemptWithoutAnswerIsGivenUpAndRetriedAndASilentSwitchIsNoLink) {
    FleetRig rig;
    rig.run(3000);
    EXPECT_NE(measurementsJson(rig.monitor.core()).find("\"temperature\":35,"), std::string::npos);
    rig.platform.onSerialWrite = [](auto) {};  // and the switch falls silent
    rig.run(kConnectSeconds * 1000 - 1000);
    EXPECT_NE(measurementsJson(rig.monitor.core()).find("\"temperature\":null,"), std::string::npos)
        << "the panel keeps its last temperature; a dashboard gets none";
    EXPECT_NE(rig.fleet->metrics().find("treld_link_up{station=\"Plant A\"} 0\n"),
              std::string::npos);
    EXPECT_EQ(rig.broker.attempts, (std::vector<std::int64_t>{1000, 22000}));
    EXPECT_EQ(rig.broker.disconnects, 1);
}

TEST(Fleet, GarbledFieldsAreNullAndForeignBytesLeaveAsUtf8) {
    FleetRig rig("COMPORT:1\r\nSNAME:S\xFC\x64 \"7\"/A\r\n");
    rig.fault("SRV").reply = "#2x0 231 229 228 230 232 0500 0499\r";
    rig.run(1000);
    rig.fleet->onBrokerConnected();
    rig.run(1000);

    const auto measurements = rig.broker.ofTopic("/measurements");
    ASSERT_FALSE(measurements.empty());
    EXPECT_EQ(measurements.back().topic, "sts/S\xC3\xBC\x64 \"7\"_A/measurements");
    const std::string& values = measurements.back().payload;
    for (const char* expected : {"\"source1_l1_voltage\":null,", "\"source1_l2_voltage\":231,",
                                 "\"source1_frequency\":50,", "\"source2_frequency\":49.9,",
                                 "\"temperature\":35,", "\"sync_angle\":2}"})
        EXPECT_NE(values.find(expected), std::string::npos) << expected << " in " << values;
    const std::string metrics = rig.fleet->metrics();
    EXPECT_NE(metrics.find("treld_source_voltage_volts{station=\"S\xC3\xBC\x64 \\\"7\\\"/A\","
                           "source=\"1\",phase=\"L2\"} 231\n"),
              std::string::npos)
        << metrics;
    EXPECT_EQ(
        eventJson(100, "a\"\\\x01\xE9", {.epochSeconds = 1'772'690'889, .utcOffsetSeconds = 3600}),
        "{\"code\":100,\"time\":\"2026-03-05T07:08:09+01:00\",\"text\":"
        "\"a\\\"\\\\\\u0001\xC3\xA9\"}");
    EXPECT_EQ(eventJson(110, "x", {.epochSeconds = 1'772'690'889}),
              "{\"code\":110,\"time\":\"2026-03-05T06:08:09+00:00\",\"text\":\"x\","
              "\"recovered\":true}");
}

TEST(Fleet, BoardSubscribesOnEachConnectionReadsWhatComesAndTheStatusNamesThePage) {
    FleetRig rig("COMPORT:1\r\nSNAME:Plant A\r\n",
                 {.metricsPort = 9464, .metricsAddress = "0.0.0.0", .board = "site/+"});
    rig.run(1000);
    rig.fleet->onBrokerConnected();
    EXPECT_EQ(rig.broker.filters,
              (std::vector<std::string>{"site/+/online", "site/+/status", "site/+/event"}));
    EXPECT_TRUE(rig.broker.ofTopic("/status").back().payload.starts_with(
        R"({"station":"Plant A","page":"http://pc-7:9464/","link":)"));
    rig.fleet->onBrokerMessage("site/x/online", "offline", false, 3);
    rig.fleet->onBrokerLost();
    const std::string board = rig.fleet->board()->json(0);
    for (const char* part : {R"("connected":false,"lostAt":)", "3 messages dropped in a flood",
                             R"("key":"site/x","name":"x","state":"offline")"})
        EXPECT_NE(board.find(part), std::string::npos) << part << " in " << board;
}

TEST(Fleet, MqttCfgValuesAndTheirFaults) {
    struct Case {
        const char* text;
        const char* error;
        int brokerPort;
        const char* page = "";
    };
    const Case cases[] = {
        {"HOST:broker\r\n", "", 1883},
        {"HOST:broker\nCAFILE:/etc/ca.pem\n", "", 8883},
        {"PORT:0\n", "mqtt.cfg: PORT needs a port from 1 to 65535", 0},
        {"TOPIC:plant/#\n", "mqtt.cfg: TOPIC may not hold + or #", 0},
        {"BOARD:sts/#\n",
         "mqtt.cfg: BOARD needs a topic filter without # and with + only as a "
         "whole level",
         0},
        {"BOARD:sts/a+\n",
         "mqtt.cfg: BOARD needs a topic filter without # and with + only as a "
         "whole level",
         0},
        {"BOARD:+/x/+\nMETRICS:9464\nMETRICSADDRESS:10.0.0.5\n", "", 1883, "http://10.0.0.5:9464/"},
        {"METRICS:9464\n", "", 1883},
        {"METRICS:1\nMETRICSADDRESS:::\n", "", 1883, "http://pc-7:1/"},
        {"METRICS:1\nMETRICSADDRESS:fd00::5\n", "", 1883, "http://[fd00::5]:1/"},
        {"PAGE:https://proxy/sts7/\n", "", 1883, "https://proxy/sts7/"},
    };
    for (const Case& c : cases) {
        std::string error;
        const std::optional<FleetSettings> settings = readFleetSettings(c.text, error);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(settings ? settings->brokerPort() : 0, c.brokerPort) << c.text;
        EXPECT_EQ(settings ? settings->pageAddress("pc-7") : "", c.page) << c.text;
    }
    EXPECT_EQ(defaultTopic("", "pc-7"), "sts/pc-7");
    EXPECT_EQ(defaultTopic("a/b+c#\t", "pc-7"), "sts/a_b_c__");
}

}  // namespace
}  // namespace treld::testing
