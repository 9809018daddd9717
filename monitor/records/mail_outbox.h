// The mail program runs one copy at a time, so a stalling mail server cannot
// pile up processes. What is asked for while it runs waits here and goes out
// when it ends. A message is a head and parts: a message whose head equals a
// waiting one's joins it as a further part, so alarms that come and go during
// one run of the mail program cost one more mail, whatever their number.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace treld {

class MailOutbox {
  public:
    // Beyond these the oldest waiting parts give way; the message then says
    // how many changes it leaves out (each is in the PC event file).
    static constexpr std::size_t kMostParts = 20;
    static constexpr std::size_t kMostMessages = 4;

    // Queues a message; an empty `part` queues the head alone (the test
    // mail). A part equal to the last waiting part of the same head, or a
    // head alone that waits already, adds nothing.
    void add(std::string head, std::string part);

    // The argument for the mail program of the oldest message ready to go,
    // which leaves the queue; nothing when none is ready.
    std::optional<std::string> takeNext();

    // The head of the message taken last: the one the mail program runs.
    const std::string& runningHead() const { return sending_.head; }

    // Whether the mail program runs, as the platform reported it.
    bool running() const { return running_; }
    void started() { running_ = true; }

    // The mail program has ended. When it did not send, the parts of its
    // message are kept, older than any that came meanwhile: they go out with
    // the next message of the same head, not on their own (a server that is
    // down would otherwise be tried again at once, for ever).
    void ended(bool sent);

    // Makes the kept parts ready to go on their own: the monitor ends.
    void releaseKept();

  private:
    struct Message {
        std::string head;
        std::deque<std::string> parts;
        std::size_t leftOut = 0;
        bool kept = false;  // waits for a message of its head to join it
    };

    static void bound(Message& message);

    std::deque<Message> messages_;
    Message sending_;
    bool running_ = false;
};

}  // namespace treld
