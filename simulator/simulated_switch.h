#pragma once

#include <memory>
#include <optional>
#include <string>

#include "device.h"
#include "line_end.h"
#include "line_reader.h"
#include "link_faults.h"
#include "scenario.h"
#include "trace.h"
#include "wire_pace.h"

namespace sts {

// One switch of the simulator on its own line: the device model with its faults and scenario,
// the line's pace both ways and its trace. Times are microseconds since the simulator started.
class SimulatedSwitch {
  public:
    SimulatedSwitch(std::unique_ptr<LineEnd> end, const DeviceSetup& setup,
                    const LinkFaults& faults, int baud, std::optional<ScenarioPlayer> player);

    LineEnd& end() { return *end_; }
    Trace& trace() { return trace_; }

    // Plays the scenario up to `now`, hands the device the commands that have arrived whole
    // and sends the characters whose time has come.
    void advance(Micros now);
    // When advance has something to do next; only while characters wait.
    std::optional<Micros> nextDue() const;
    // Whether its line is worth waiting on at `now`: a pseudo-terminal that nobody holds open
    // signals its hang-up at once, so it rests a while before it is asked again.
    bool listening(Micros now) const { return now >= restUntil_; }
    // The line's descriptor was ready with `revents`.
    void ready(short revents, Micros now);

  private:
    std::unique_ptr<LineEnd> end_;
    Device device_;
    LinkFaults faults_;
    ReplyShaper shaper_;
    LineReader reader_;
    WirePace in_, out_;  // commands from the monitor, replies to it
    std::optional<ScenarioPlayer> player_;
    Trace trace_;
    Micros restUntil_ = 0;
};

}  // namespace sts
