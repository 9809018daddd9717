// The MQTT client as the fleet sees it. The Qt layer implements it with
// libmosquitto on a thread of its own; tests implement it in virtual time.
// Nothing here blocks: outcomes come back through Fleet's onBroker* entries.
#pragma once

#include <string>

namespace treld {

struct BrokerMessage {
    std::string topic;
    std::string payload;
    int qos = 0;
    bool retain = false;

    bool operator==(const BrokerMessage&) const = default;
};

class BrokerLink {
  public:
    virtual ~BrokerLink() = default;

    // Starts one connection attempt with `will` as the last will. It ends in
    // Fleet::onBrokerConnected or Fleet::onBrokerLost; a connection that
    // drops later ends in onBrokerLost too.
    virtual void connectBroker(const BrokerMessage& will) = 0;

    // Gives up the attempt or the connection; no onBrokerLost follows.
    virtual void disconnectBroker() = 0;

    // Hands a message to the client while connected: its id, which
    // Fleet::onBrokerDelivered reports once the message is written (QoS 0) or
    // acknowledged (QoS 1), or 0 when the client did not take it.
    virtual int publish(const BrokerMessage& message) = 0;

    // While connected: asks for the messages of `filter` at QoS 1; they come
    // back through Fleet::onBrokerMessage.
    virtual void subscribe(const std::string& filter) = 0;
};

}  // namespace treld
