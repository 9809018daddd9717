#include "simulated_switch.h"

#include <poll.h>

#include <algorithm>

namespace sts {
namespace {

// Bounds for a monitor that sends faster than the line takes and for replies that pile up
// behind a long delay: beyond them characters are dropped, and the trace says so.
constexpr std::size_t kMaxWaitingIn = 4096;
constexpr std::size_t kMaxWaitingOut = 65536;
constexpr Micros kRestMicros = 100'000;

Millis millis(Micros at) {
    return at / 1000;
}

}  // namespace

SimulatedSwitch::SimulatedSwitch(std::unique_ptr<LineEnd> end, const DeviceSetup& setup,
                                 const LinkFaults& faults, int baud,
                                 std::optional<ScenarioPlayer> player)
    : end_(std::move(end)),
      device_(setup, 0),
      faults_(faults),
      shaper_(setup.seed),
      in_(baud),
      out_(baud),
      player_(std::move(player)) {}

void SimulatedSwitch::advance(Micros now) {
    const Millis ms = millis(now);
    if (player_) {
        player_->run(ms, device_.plant(), faults_);
    }
    device_.advance(ms);
    if (faults_.cut) {
        out_.clear();  // replies under way are lost with the line
    }
    for (const auto& command : reader_.feed(in_.take(now))) {
        if (command.overlong) {
            trace_.write(ms, "DROP", "overlong line");
            continue;
        }
        trace_.write(ms, "RX", command.text);
        const auto reply = device_.handle(command.text, ms);
        if (!reply) {
            continue;
        }
        if (out_.size() + reply->size() > kMaxWaitingOut) {
            trace_.write(ms, "DROP", "reply queue full: " + *reply);
            continue;
        }
        for (auto& write : shaper_.shape(*reply, faults_, ms)) {
            out_.put(write.bytes, write.due * 1000);
        }
    }
    const std::string due = out_.take(now);
    if (!due.empty()) {
        if (end_->write(due)) {
            trace_.write(ms, "TX", due);
        } else {
            trace_.write(ms, "DROP", "line busy or closed: " + due);
        }
    }
}

std::optional<Micros> SimulatedSwitch::nextDue() const {
    if (in_.empty() && out_.empty()) {
        return std::nullopt;
    }
    if (in_.empty() || out_.empty()) {
        return in_.empty() ? out_.nextDue() : in_.nextDue();
    }
    return std::min(in_.nextDue(), out_.nextDue());
}

void SimulatedSwitch::ready(short revents, Micros now) {
    const std::string received = (revents & POLLIN) != 0 ? end_->readAvailable() : std::string();
    if (received.empty()) {
        if ((revents & (POLLHUP | POLLERR)) != 0) {
            restUntil_ = now + kRestMicros;  // nobody on the other end: wait for the next opener
        }
        return;
    }
    if (faults_.cut) {
        trace_.write(millis(now), "CUT", received);
        reader_ = {};  // a command torn by the cut never reaches the device
        in_.clear();
        return;
    }
    if (in_.size() + received.size() > kMaxWaitingIn) {
        trace_.write(millis(now), "DROP", "faster than the line: " + received);
        return;
    }
    in_.put(received, now);
}

}  // namespace sts
