#include "fleet/broker_session.h"

#include <algorithm>

namespace treld {

void BrokerSession::tick() {
    switch (state_) {
        case State::Waiting:
            if (--waitSeconds_ > 0)
                return;
            state_ = State::Connecting;
            connectingSeconds_ = 0;
            link_.connectBroker(will_);
            return;
        case State::Connecting:
            if (++connectingSeconds_ < kConnectSeconds)
                return;
            link_.disconnectBroker();
            fail();
            return;
        case State::Connected:
            pump();  // the client may have refused a message last time
            return;
    }
}

void BrokerSession::connected() {
    if (state_ != State::Connecting)
        return;
    state_ = State::Connected;
    backOffSeconds_ = 1;
    inOutage_ = false;
    pump();
}

void BrokerSession::lost() {
    if (state_ != State::Waiting)
        fail();
}

void BrokerSession::fail() {
    // What the client held but never delivered goes back, in its order.
    for (auto it = inFlight_.rbegin(); it != inFlight_.rend(); ++it)
        queue_.putBack(std::move(it->second));
    inFlight_.clear();
    state_ = State::Waiting;
    waitSeconds_ = backOffSeconds_;
    backOffSeconds_ = std::min(2 * backOffSeconds_, kMaxBackOffSeconds);
    if (!inOutage_) {
        inOutage_ = true;
        outageBegins_();
    }
}

void BrokerSession::delivered(int messageId) {
    const auto it = std::find_if(inFlight_.begin(), inFlight_.end(),
                                 [&](const auto& held) { return held.first == messageId; });
    if (it == inFlight_.end())
        return;
    inFlight_.erase(it);
    ++published_;
    pump();
}

void BrokerSession::send(Outgoing item) {
    queue_.push(std::move(item));
    pump();
}

void BrokerSession::pump() {
    while (state_ == State::Connected && inFlight_.size() < kDeliveryWindow) {
        std::optional<Outgoing> next = queue_.take();
        if (!next)
            return;
        const int id = link_.publish(next->message);
        if (id == 0) {
            queue_.putBack(std::move(*next));
            return;
        }
        inFlight_.emplace_back(id, std::move(*next));
    }
}

}  // namespace treld
