#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace sts {

using Micros = std::int64_t;

// One direction of a serial line at its pace: at `baud` a character of 10 bits (start, 8 data,
// stop) takes 10/baud seconds, so characters put in come out one character's time apart, in
// order, each complete only once its time on the wire is over. Baud 0 passes them at once.
class WirePace {
  public:
    explicit WirePace(int baud) : charMicros_(baud > 0 ? 10'000'000 / baud : 0) {}

    // Characters that reach the line at `at` (never earlier than those put in before).
    void put(std::string_view bytes, Micros at);
    // The characters through by `now`.
    std::string take(Micros now);
    // When the next character is through; only when one waits.
    Micros nextDue() const { return waiting_.front().due; }
    bool empty() const { return waiting_.empty(); }
    std::size_t size() const { return waiting_.size(); }
    void clear() { waiting_.clear(); }

  private:
    struct Waiting {
        Micros due;
        char byte;
    };
    Micros charMicros_;
    Micros lineFree_ = 0;  // when the last character put in is through
    std::deque<Waiting> waiting_;
};

}  // namespace sts
