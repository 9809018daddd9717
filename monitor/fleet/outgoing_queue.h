// Messages waiting for the broker, bounded whatever the outage lasts.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "fleet/broker_link.h"

namespace treld {

// Newest: only the latest message of its topic matters (status,
// measurements, online, discovery); a newer one replaces it in the queue.
// Every: each message counts (events); kept in order up to the event bound.
enum class Keep { Newest, Every };

struct Outgoing {
    BrokerMessage message;
    Keep keep = Keep::Newest;
};

class OutgoingQueue {
  public:
    explicit OutgoingQueue(std::size_t eventLimit) : eventLimit_(eventLimit) {}

    // Newest replaces a queued message of its topic; an event beyond the
    // bound pushes out the oldest event, which is counted as dropped.
    void push(Outgoing item);

    // A message handed out but never delivered goes back ahead of the rest,
    // unless a newer one of its topic waits or the events are at their bound.
    void putBack(Outgoing item);

    std::optional<Outgoing> take();

    std::size_t size() const { return items_.size(); }
    std::uint64_t droppedEvents() const { return dropped_; }

  private:
    std::deque<Outgoing>::iterator queuedOfTopic(const Outgoing& item);

    std::size_t eventLimit_;
    std::deque<Outgoing> items_;
    std::size_t events_ = 0;
    std::uint64_t dropped_ = 0;
};

}  // namespace treld
