// The connection to the broker as a state machine in whole seconds: attempts
// with back-off, a bounded window of messages handed to the client, and the
// queue that holds the rest while the broker is away. The poll cycle never
// waits for any of it.
//
//   Waiting --(back-off over)--> Connecting --(connected)--> Connected
//      ^                             |                           |
//      +------(lost, or no answer in kConnectSeconds)------------+
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "fleet/broker_link.h"
#include "fleet/outgoing_queue.h"

namespace treld {

// Back-off between attempts: 1 s, doubled after each failure up to this.
inline constexpr int kMaxBackOffSeconds = 60;
// An attempt that has not connected by then is given up.
inline constexpr int kConnectSeconds = 20;
// Messages handed to the client and not yet reported delivered.
inline constexpr std::size_t kDeliveryWindow = 32;
// Events kept while the broker is away.
inline constexpr std::size_t kEventLimit = 1000;

class BrokerSession {
  public:
    // `outageBegins` runs at the first failure after a connection (or at
    // start), not again until the broker was connected once more.
    BrokerSession(BrokerLink& link, BrokerMessage will, std::function<void()> outageBegins)
        : link_(link), will_(std::move(will)), outageBegins_(std::move(outageBegins)) {}

    // Every second.
    void tick();

    void connected();
    void lost();
    void delivered(int messageId);

    void send(Outgoing item);

    bool isConnecting() const { return state_ == State::Connecting; }
    bool isConnected() const { return state_ == State::Connected; }
    std::size_t queued() const { return queue_.size() + inFlight_.size(); }
    std::uint64_t published() const { return published_; }
    std::uint64_t droppedEvents() const { return queue_.droppedEvents(); }

  private:
    enum class State { Waiting, Connecting, Connected };

    void fail();
    void pump();

    BrokerLink& link_;
    BrokerMessage will_;
    std::function<void()> outageBegins_;
    State state_ = State::Waiting;
    int waitSeconds_ = 0;  // the first tick tries at once
    int backOffSeconds_ = 1;
    int connectingSeconds_ = 0;
    bool inOutage_ = false;
    OutgoingQueue queue_{kEventLimit};
    std::vector<std::pair<int, Outgoing>> inFlight_;  // by message id, in hand-out order
    std::uint64_t published_ = 0;
};

}  // namespace treld
