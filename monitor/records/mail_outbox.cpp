#include "records/mail_outbox.h"

#include <algorithm>

namespace treld {

void MailOutbox::bound(Message& message) {
    while (message.parts.size() > kMostParts) {
        message.parts.pop_front();
        ++message.leftOut;
    }
}

void MailOutbox::add(std::string head, std::string part) {
    for (Message& waiting : messages_) {
        if (waiting.head != head)
            continue;
        waiting.kept = false;
        if (part.empty() || (!waiting.parts.empty() && waiting.parts.back() == part))
            return;
        waiting.parts.push_back(std::move(part));
        bound(waiting);
        return;
    }
    if (messages_.size() == kMostMessages)
        messages_.pop_front();
    messages_.push_back({std::move(head), {}, 0, false});
    if (!part.empty())
        messages_.back().parts.push_back(std::move(part));
}

std::optional<std::string> MailOutbox::takeNext() {
    const auto ready =
        std::find_if(messages_.begin(), messages_.end(), [](const Message& m) { return !m.kept; });
    if (ready == messages_.end())
        return std::nullopt;
    sending_ = std::move(*ready);
    messages_.erase(ready);
    std::string argument = sending_.head;
    for (std::size_t i = 0; i < sending_.parts.size(); ++i)
        argument += (i == 0 ? "" : "<br>") + sending_.parts[i];
    if (sending_.leftOut > 0)
        argument += "<br>" + std::to_string(sending_.leftOut) +
                    " earlier alarm changes left out: see the PC event file";
    return argument;
}

void MailOutbox::ended(bool sent) {
    running_ = false;
    if (sent || sending_.parts.empty())
        return;
    Message failed{sending_.head, std::move(sending_.parts), sending_.leftOut, true};
    sending_.parts.clear();
    sending_.leftOut = 0;
    for (Message& waiting : messages_) {
        if (waiting.head != failed.head)
            continue;
        waiting.parts.insert(waiting.parts.begin(), failed.parts.begin(), failed.parts.end());
        waiting.leftOut += failed.leftOut;
        bound(waiting);
        return;
    }
    // The oldest message gives way to a full queue, as in add().
    if (messages_.size() < kMostMessages)
        messages_.push_front(std::move(failed));
}

void MailOutbox::releaseKept() {
    for (Message& waiting : messages_)
        waiting.kept = false;
}

}  // namespace treld
