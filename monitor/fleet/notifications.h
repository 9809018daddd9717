// Notifications: each PC event of the kinds a target wants goes to its
// webhook, ntfy topic or program, and a heartbeat is called while the device
// answers. Nothing here waits: the platform delivers, one delivery at a time
// per target, and reports back (Platform::sendHttp, runProgram).
//
// Per target: a queue of kMostWaiting messages; an alarm that comes while an
// alarm waits replaces it (the newest alarm list is what matters) and a full
// queue gives up its oldest, each counted in the next message's leftOut. A
// failed attempt is tried again after kRetrySeconds, doubling up to
// kLongestRetrySeconds, for as long as it takes: what waits is only lost to
// the queue's bound.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/device_core.h"
#include "fleet/notify_messages.h"

namespace treld {

// The time an attempt may take before it counts as failed.
inline constexpr int kAttemptTimeoutMs = 10'000;

struct TargetFigures {
    std::string name;             // "webhook1", "ntfy2", "command1", "heartbeat1"
    std::uint64_t events = 0;     // messages queued
    std::uint64_t delivered = 0;  // messages delivered
    std::uint64_t leftOut = 0;    // messages replaced or given up for a newer one
    std::uint64_t failed = 0;     // attempts that failed
};

class Notifications {
  public:
    static constexpr std::size_t kMostWaiting = 20;
    static constexpr int kRetrySeconds = 5;
    static constexpr int kLongestRetrySeconds = 300;

    explicit Notifications(DeviceCore& c) : c_(c) {}

    // The targets of notify.cfg (before the start-up event); `hostName` names
    // the station when sts.cfg gives it no name.
    void configure(NotifySettings settings, std::string hostName);

    // Every PC event, as it is written.
    void onPcEvent(Int16 code, std::string_view text, const LocalDateTime& at);
    // Every second: retries that are due, and the heartbeat.
    void tick();
    // The platform's report of the delivery with this id.
    void onDelivered(int id, const DeliveryOutcome& outcome);

    // One test event to every target, one attempt each; `done` gets a line
    // per target with what it answered, and whether all delivered.
    using TestDone = std::function<void(const std::vector<std::string>& answers, bool all)>;
    void test(TestDone done);

    // A delivery is under way (one waiting for its retry is not).
    bool underWay() const;
    std::vector<TargetFigures> figures() const;

  private:
    struct Target {
        NotifyTarget settings;
        TargetFigures figures;
        std::deque<NotifyMessage> queue;  // the front is under way while `busy`
        bool busy = false;
        int failures = 0;             // attempts failed in a row
        std::int64_t retryAtMs = -1;  // the next attempt waits for this
        std::string answer;           // of the last attempt
    };

    std::string station() const;
    std::int64_t nowMs() const;
    void queue(Target& target, NotifyMessage message);
    void attempt(int id);
    void failed(Target& target, const std::string& answer);
    void log(const std::string& line);

    DeviceCore& c_;
    std::string caFile_;
    std::string hostName_;
    std::vector<Target> targets_;
    std::int64_t nextBeatMs_ = 0;
    TestDone testDone_;
};

}  // namespace treld
