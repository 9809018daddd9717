#include "fleet/notifications.h"

#include <algorithm>

#include "foundation/file_append.h"
#include "foundation/iso_time.h"
#include "link/line.h"

namespace treld {
namespace {

constexpr std::string_view kKindNames[] = {"webhook", "ntfy", "command", "heartbeat"};

// notify.log beside the station's files: a line per failed attempt. Beyond
// this size it becomes notify.log.1, replacing the one before.
constexpr std::uintmax_t kLogBytes = 256 * 1024;

}  // namespace

void Notifications::configure(NotifySettings settings, std::string hostName) {
    caFile_ = std::move(settings.caFile);
    hostName_ = std::move(hostName);
    int counts[std::size(kKindNames)] = {};
    targets_.clear();
    for (NotifyTarget& target : settings.targets) {
        const auto kind = static_cast<std::size_t>(target.kind);
        Target& added = targets_.emplace_back();
        added.figures.name = std::string(kKindNames[kind]) + std::to_string(++counts[kind]);
        added.settings = std::move(target);
    }
}

std::string Notifications::station() const {
    return c_.config.StationName.empty() ? hostName_ : c_.config.StationName;
}

std::int64_t Notifications::nowMs() const {
    const LocalDateTime now = c_.platform.now();
    return now.epochSeconds * 1000 + now.millisecond;
}

void Notifications::onPcEvent(Int16 code, std::string_view text, const LocalDateTime& at) {
    const unsigned kind = eventKind(code);
    if (kind == 0 || testDone_)
        return;
    const NotifyMessage message = notifyMessage(c_, station(), code, text, at);
    for (std::size_t id = 0; id < targets_.size(); ++id) {
        Target& target = targets_[id];
        if (target.settings.kind == NotifyTarget::Kind::Heartbeat ||
            (target.settings.events & kind) == 0)
            continue;
        queue(target, message);
        if (!target.busy && target.retryAtMs < 0)
            attempt(static_cast<int>(id));
    }
}

void Notifications::queue(Target& target, NotifyMessage message) {
    ++target.figures.events;
    std::deque<NotifyMessage>& queue = target.queue;
    const auto waiting = queue.begin() + (target.busy ? 1 : 0);
    auto leaveOut = [&](std::deque<NotifyMessage>::iterator old, NotifyMessage& heir) {
        heir.leftOut += old->leftOut + 1;
        ++target.figures.leftOut;
        queue.erase(old);
    };
    if (message.code == 100) {
        const auto alarm = std::find_if(waiting, queue.end(),
                                        [](const NotifyMessage& m) { return m.code == 100; });
        if (alarm != queue.end())
            leaveOut(alarm, message);
    }
    const auto first = queue.begin() + (target.busy ? 1 : 0);
    if (queue.end() - first >= static_cast<std::ptrdiff_t>(kMostWaiting))
        leaveOut(first, first + 1 != queue.end() ? *(first + 1) : message);
    queue.push_back(std::move(message));
}

void Notifications::attempt(int id) {
    Target& target = targets_[static_cast<std::size_t>(id)];
    if (target.queue.empty())
        return;
    target.busy = true;
    const NotifyMessage& message = target.queue.front();
    if (target.settings.kind == NotifyTarget::Kind::Command) {
        c_.platform.runProgram(id, target.settings.address, notifyEnvironment(message),
                               kAttemptTimeoutMs);
    } else {
        OutgoingRequest request = notifyRequest(target.settings, message);
        request.caFile = caFile_;
        request.timeoutMs = kAttemptTimeoutMs;
        c_.platform.sendHttp(id, request);
    }
}

void Notifications::onDelivered(int id, const DeliveryOutcome& outcome) {
    if (id < 0 || static_cast<std::size_t>(id) >= targets_.size() ||
        !targets_[static_cast<std::size_t>(id)].busy)
        return;
    Target& target = targets_[static_cast<std::size_t>(id)];
    target.busy = false;
    target.answer = outcome.answer;
    if (testDone_) {
        target.queue.clear();
        target.figures.delivered += outcome.delivered ? 1 : 0;
        if (underWay())
            return;
        std::vector<std::string> answers;
        bool all = true;
        for (const Target& each : targets_) {
            answers.push_back(each.figures.name + " " + each.settings.address + ": " + each.answer);
            all = all && each.figures.delivered > 0;
        }
        testDone_(answers, all);
        return;
    }
    if (outcome.delivered) {
        ++target.figures.delivered;
        if (target.failures > 0)
            log(target.figures.name + " delivered again after " + std::to_string(target.failures) +
                " failed attempts");
        target.failures = 0;
        target.queue.pop_front();
        attempt(id);
        return;
    }
    failed(target, outcome.answer);
    if (target.settings.kind == NotifyTarget::Kind::Heartbeat) {
        target.queue.pop_front();  // the next beat tries again
        return;
    }
    const int wait =
        std::min(kRetrySeconds << std::min(target.failures - 1, 8), kLongestRetrySeconds);
    target.retryAtMs = nowMs() + wait * 1000LL;
}

void Notifications::failed(Target& target, const std::string& answer) {
    ++target.figures.failed;
    const std::string line = "Notification to " + target.figures.name + " failed: " + answer;
    log(line + " (" + target.settings.address + ")");
    if (++target.failures == 1) {  // said once while it goes on failing
        c_.platform.writeStderr(line);
        c_.statusLine.say(Said::NotificationFailed, {target.figures.name, answer});
    }
}

void Notifications::log(const std::string& line) {
    const std::filesystem::path file = c_.stationDir / "notify.log";
    std::error_code failed;
    if (std::filesystem::file_size(file, failed) > kLogBytes && !failed)
        std::filesystem::rename(file, c_.stationDir / "notify.log.1", failed);
    const LocalDateTime now = c_.platform.now();
    appendToFile(file, isoLocalTime(now.epochSeconds, now.utcOffsetSeconds) + " " + line + "\n");
}

void Notifications::tick() {
    const std::int64_t now = nowMs();
    const LinkHealth& health = c_.line.health();
    const bool answering = !health.lost && health.unanswered == 0 && c_.counters.exchanges > 0;
    for (std::size_t id = 0; id < targets_.size(); ++id) {
        Target& target = targets_[id];
        if (target.settings.kind == NotifyTarget::Kind::Heartbeat) {
            if (!answering || now < nextBeatMs_)
                continue;
            nextBeatMs_ = now + target.settings.intervalSeconds * 1000LL;
            if (target.busy)
                continue;  // the beat before still under way
            queue(target, {});
        } else if (target.busy || target.retryAtMs < 0 || now < target.retryAtMs) {
            continue;
        }
        target.retryAtMs = -1;
        attempt(static_cast<int>(id));
    }
}

void Notifications::test(TestDone done) {
    testDone_ = std::move(done);
    if (targets_.empty()) {
        testDone_({"notify.cfg names no target"}, false);
        return;
    }
    const LocalDateTime now = c_.platform.now();
    const NotifyMessage message = notifyMessage(c_, station(), 0, "Test notification", now);
    for (std::size_t id = 0; id < targets_.size(); ++id) {
        targets_[id].queue.push_back(message);
        attempt(static_cast<int>(id));
    }
}

bool Notifications::underWay() const {
    return std::any_of(targets_.begin(), targets_.end(), [](const Target& t) { return t.busy; });
}

std::vector<TargetFigures> Notifications::figures() const {
    std::vector<TargetFigures> figures;
    for (const Target& target : targets_)
        figures.push_back(target.figures);
    return figures;
}

}  // namespace treld
