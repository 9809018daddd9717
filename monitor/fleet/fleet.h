// Fleet publishing: the station's measurements, status and PC events on an
// MQTT broker, and its metrics for Prometheus. With BOARD: it also reads the
// fleet's topics for the board (fleet_board.h); nothing it reads ever
// reaches the device. Fed by FleetTimer every second, by each PC event line and by
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
#include "fleet/fleet_board.h"
#include "fleet/fleet_settings.h"
#include "fleet/metrics_text.h"
#include "fleet/notifications.h"
#include "fleet/station_feed.h"

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
    // A message of the board's subscription; `dropped` counts those the
    // client let go since the last one (a flood).
    void onBrokerMessage(std::string_view topic, std::string_view payload, bool retained,
                         std::uint64_t dropped);

    // The fleet board, null without BOARD: in mqtt.cfg.
    const FleetBoard* board() const { return board_ ? &*board_ : nullptr; }

    // The /metrics page.
    std::string metrics();
    // What the web page and the read API show.
    const StationFeed& station() const { return feed_; }

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
    StationFeed feed_;
    const Notifications& notifications_;
    std::string prefix_;
    std::string station_;
    std::optional<BrokerSession> session_;
    std::string lastMeasurements_;
    std::string lastStatus_;
    std::optional<FleetBoard> board_;
};

}  // namespace treld
