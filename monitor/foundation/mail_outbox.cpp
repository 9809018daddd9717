#include "foundation/mail_outbox.h"

namespace treld {

void MailOutbox::add(std::string head, std::string part) {
    for (Message& waiting : messages_) {
        if (waiting.head != head)
            continue;
        if (!waiting.parts.empty() && waiting.parts.back() == part)
            return;
        waiting.parts.push_back(std::move(part));
        if (waiting.parts.size() > kMostParts) {
            waiting.parts.pop_front();
            ++waiting.leftOut;
        }
        return;
    }
    if (messages_.size() == kMostMessages)
        messages_.pop_front();
    messages_.push_back({std::move(head), {std::move(part)}, 0});
}

std::optional<std::string> MailOutbox::takeNext() {
    if (messages_.empty())
        return std::nullopt;
    Message message = std::move(messages_.front());
    messages_.pop_front();
    runningHead_ = message.head;
    std::string argument = std::move(message.head);
    for (std::size_t i = 0; i < message.parts.size(); ++i)
        argument += (i == 0 ? "" : "<br>") + message.parts[i];
    if (message.leftOut > 0)
        argument += "<br>" + std::to_string(message.leftOut) +
                    " earlier alarm changes left out: see the PC event file";
    return argument;
}

}  // namespace treld
