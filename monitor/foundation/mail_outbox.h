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

    // Queues a message; a part equal to the last waiting part of the same
    // head adds nothing (a second test mail while one waits).
    void add(std::string head, std::string part);

    // The argument for the mail program of the oldest waiting message, which
    // leaves the queue; nothing when none waits.
    std::optional<std::string> takeNext();

    // The head of the message taken last: the one the mail program runs.
    const std::string& runningHead() const { return runningHead_; }

    // Whether the mail program runs, as the platform reported it.
    bool running() const { return running_; }
    void setRunning(bool running) { running_ = running; }

  private:
    struct Message {
        std::string head;
        std::deque<std::string> parts;
        std::size_t leftOut = 0;
    };

    std::deque<Message> messages_;
    std::string runningHead_;
    bool running_ = false;
};

}  // namespace treld
