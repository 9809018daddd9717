#include "fleet/fleet.h"

#include "fleet/payloads.h"
#include "fleet/text_formats.h"

namespace treld {

Fleet::Fleet(DeviceCore& c, FleetSettings settings, std::string hostName, BrokerLink* broker,
             const Notifications& notifications)
    : c_(c),
      settings_(std::move(settings)),
      hostName_(std::move(hostName)),
      broker_(broker),
      feed_(c, hostName_),
      notifications_(notifications) {
    if (broker_ == nullptr)
        return;
    c_.platform.startTimer(TimerId::FleetTimer, kFleetTimerMs);
    if (!settings_.board.empty())
        board_.emplace();
}

void Fleet::onPcEvent(Int16 code, std::string_view text, const LocalDateTime& at) {
    feed_.event(code, text, at);
    if (broker_ != nullptr)
        publish("event", eventJson(code, text, at), 1, false, Keep::Every);
}

void Fleet::settleNames() {
    if (!prefix_.empty())
        return;
    station_ = feed_.name();
    prefix_ =
        settings_.topic.empty() ? defaultTopic(c_.config.StationName, hostName_) : settings_.topic;
}

BrokerSession& Fleet::session() {
    if (!session_) {
        settleNames();
        session_.emplace(*broker_, BrokerMessage{topic("online"), "offline", 1, true},
                         [this] { c_.statusLine.say(Said::MqttDisconnected); });
    }
    return *session_;
}

void Fleet::onTick() {
    session().tick();
    publishState(false);
}

void Fleet::onBrokerConnected() {
    if (!session().isConnecting())
        return;
    // Queued before the connection counts, so what waits is replaced rather
    // than sent twice. A broker that restarted without its store has
    // forgotten every retained message.
    publish("online", "online", 1, true, Keep::Newest);
    for (BrokerMessage& message : discoveryMessages(prefix_, station_))
        session().send({std::move(message), Keep::Newest});
    publishState(true);
    session().connected();
    if (board_) {
        for (const char* level : {"/online", "/status", "/event"})
            broker_->subscribe(settings_.board + level);
        board_->brokerConnected();
    }
}

void Fleet::onBrokerLost() {
    session().lost();
    if (board_)
        board_->brokerLost(c_.platform.now().epochSeconds);
}

void Fleet::onBrokerMessage(std::string_view topic, std::string_view payload, bool retained,
                            std::uint64_t dropped) {
    if (!board_)
        return;
    if (dropped > 0)
        board_->dropped(dropped);
    board_->receive(topic, payload, retained, c_.platform.now().epochSeconds);
}

void Fleet::onBrokerDelivered(int messageId) {
    session().delivered(messageId);
}

void Fleet::publishState(bool always) {
    std::string measurements = measurementsJson(c_);
    if (always || measurements != lastMeasurements_) {
        lastMeasurements_ = measurements;
        publish("measurements", std::move(measurements), 0, false, Keep::Newest);
    }
    std::string status = statusJson(c_, station_, settings_.pageAddress(hostName_));
    if (always || status != lastStatus_) {
        lastStatus_ = status;
        publish("status", std::move(status), 1, true, Keep::Newest);
    }
}

std::string Fleet::topic(std::string_view level) const {
    return toUtf8(prefix_ + "/" + std::string(level));
}

void Fleet::publish(std::string_view topic, std::string payload, int qos, bool retain, Keep keep) {
    BrokerSession& broker = session();
    broker.send({{this->topic(topic), std::move(payload), qos, retain}, keep});
}

std::string Fleet::metrics() {
    settleNames();
    if (broker_ == nullptr)
        return metricsText(c_, station_, nullptr, notifications_.figures());
    const BrokerSession& broker = session();
    const PublishingFigures figures{broker.isConnected(), broker.queued(), broker.published(),
                                    broker.droppedEvents()};
    return metricsText(c_, station_, &figures, notifications_.figures());
}

}  // namespace treld
