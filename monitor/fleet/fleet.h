// Fleet publishing: the station's measurements, status and PC events on an
// MQTT broker, read-only (nothing is ever subscribed), and its metrics for
// Prometheus. Fed by FleetTimer every second, by each PC event line and by
// the broker client's outcomes; it never waits for the network.
//
// Topics under the prefix (mqtt.cfg TOPIC:, default sts/<station>):
//   online        "online" / "offline" (the last will), retained
//   measurements  the panel values, at most once a second, when they change
//   status        link, login, transfer path, fault texts, alarm lamps; retained
//   event         each PC event line, QoS 1
// and Home Assistant discovery under homeassistant/, retained.
#pragma once

#include <optional>
#include <string>

#include "device/device_core.h"
#include "fleet/broker_session.h"
#include "fleet/fleet_settings.h"
#include "fleet/metrics_text.h"
#include "fleet/notifications.h"

namespace treld {

// FleetTimer's interval: the broker session counts its seconds in these ticks.
inline constexpr int kFleetTimerMs = 1000;

class Fleet {
  public:
    // `broker` null: no MQTT, metrics only. `hostName` names the station
    // when sts.cfg gives it no name. The metrics count the failures of
    // `notifications`.
    Fleet(DeviceCore& c, FleetSettings settings, std::string hostName, BrokerLink* broker,
          const Notifications& notifications);
    Fleet(const Fleet&) = delete;
    Fleet& operator=(const Fleet&) = delete;

    // FleetTimer, every second; it runs only with a broker.
    void onTick();
    // Every PC event, written or not: published with a broker.
    void onPcEvent(Int16 code, std::string_view text, const LocalDateTime& at);

    // The broker client's outcomes (BrokerLink); only with a broker.
    void onBrokerConnected();
    void onBrokerLost();
    void onBrokerDelivered(int messageId);

    // The /metrics page.
    std::string metrics();

  private:
    // The prefix and station name, fixed at first use: after start-up read
    // sts.cfg, so a later change of the station name moves no topic.
    void settleNames();
    BrokerSession& session();
    // A topic under the prefix, in UTF-8 as the broker wants it.
    std::string topic(std::string_view level) const;
    void publishState(bool always);
    void publish(std::string_view topic, std::string payload, int qos, bool retain, Keep keep);

    DeviceCore& c_;
    FleetSettings settings_;
    std::string hostName_;
    BrokerLink* broker_;
    const Notifications& notifications_;
    std::string prefix_;
    std::string station_;
    std::optional<BrokerSession> session_;
    std::string lastMeasurements_;
    std::string lastStatus_;
};

}  // namespace treld
