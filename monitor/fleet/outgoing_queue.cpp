#include "fleet/outgoing_queue.h"

#include <algorithm>

namespace treld {

std::deque<Outgoing>::iterator OutgoingQueue::queuedOfTopic(const Outgoing& item) {
    return std::find_if(items_.begin(), items_.end(), [&](const Outgoing& queued) {
        return queued.keep == Keep::Newest && queued.message.topic == item.message.topic;
    });
}

void OutgoingQueue::push(Outgoing item) {
    if (item.keep == Keep::Newest) {
        const auto queued = queuedOfTopic(item);
        if (queued != items_.end()) {
            queued->message = std::move(item.message);
            return;
        }
    } else if (events_ == eventLimit_) {
        const auto oldest = std::find_if(items_.begin(), items_.end(), [](const Outgoing& queued) {
            return queued.keep == Keep::Every;
        });
        items_.erase(oldest);
        --events_;
        ++dropped_;
    }
    events_ += item.keep == Keep::Every ? 1 : 0;
    items_.push_back(std::move(item));
}

void OutgoingQueue::putBack(Outgoing item) {
    if (item.keep == Keep::Newest && queuedOfTopic(item) != items_.end())
        return;
    if (item.keep == Keep::Every) {
        if (events_ == eventLimit_) {
            ++dropped_;
            return;
        }
        ++events_;
    }
    items_.push_front(std::move(item));
}

std::optional<Outgoing> OutgoingQueue::take() {
    if (items_.empty())
        return std::nullopt;
    Outgoing item = std::move(items_.front());
    items_.pop_front();
    events_ -= item.keep == Keep::Every ? 1 : 0;
    return item;
}

}  // namespace treld
