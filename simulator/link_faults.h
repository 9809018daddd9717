#pragma once

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "device_clock.h"

namespace sts {

// Misbehaviour of the serial line, switched by the scenario, the command line or a test.
struct LinkFaults {
    bool silent = false;  // no reply at all
    // The line is cut: no command reaches the device and nothing comes back, while the device
    // runs on and logs what happens.
    bool cut = false;
    int chunks = 1;        // a reply goes out in this many pieces
    int delayMs = 0;       // before the first piece
    bool garbage = false;  // the reply's characters are replaced by random ones (CR kept)
    bool noCr = false;     // the closing CR is left off
    int chunkGapMs = 30;   // between pieces, so they arrive apart
    // Arrives instead of the device's reply (the device still acted on the command).
    std::optional<std::string> reply;
};

struct TimedWrite {
    Millis due;
    std::string bytes;
};

// Turns one reply into the writes that go on the line under the given faults.
class ReplyShaper {
  public:
    explicit ReplyShaper(unsigned seed) : random_(seed) {}

    std::vector<TimedWrite> shape(std::string reply, const LinkFaults& faults, Millis now);

  private:
    std::mt19937 random_;
};

}  // namespace sts
