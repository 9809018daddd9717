#pragma once

// Scenario files: timed faults, one step per line.
//
//   # a comment; blank lines are ignored
//   TIME SUBJECT [ARGUMENT]
//
// TIME is a whole number followed by "s" or "ms", counted from the start of the scenario, and
// never smaller than the time of the line before. Subjects and arguments:
//
//   source1|source2 blackout|voltage-bad|frequency-bad   the source fault appears
//   source1|source2 restore                              black-out, voltage and frequency clear
//   source1|source2 input off|on                         the source's input switch
//   source1|source2 bypass on|off                        the source's maintenance bypass
//   output-switch off|on
//   overload on|off
//   overtemp on|off
//   silent on|off                                        the device stops answering
//   cut on|off                                           the line is cut both ways; the
//                                                        device runs on and logs
//   garbage on|off                                       replies of random characters
//   no-cr on|off                                         replies without their CR
//   chunks N                                             replies in N pieces (1..64; 1 = whole)
//   delay MS                                             replies after MS ms (0..60000)
//   repeat                                               last line only: start again from 0
//
// Example: "10s source1 blackout", "20s source1 restore", "30s repeat".

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "device_clock.h"
#include "link_faults.h"
#include "switch_plant.h"

namespace sts {

struct ScenarioStep {
    enum class Kind { Condition, Restore, Silent, Cut, Garbage, NoCr, Chunks, Delay, Repeat };
    Millis at = 0;
    Kind kind = Kind::Restore;
    Condition condition = Condition::Blackout;  // for Kind::Condition
    int source = 0;                             // 0 or 1 where the subject is a source
    bool on = true;
    int number = 0;  // for Chunks and Delay
};

struct Scenario {
    std::vector<ScenarioStep> steps;
};

// Reads a whole scenario; on the first broken line gives nothing and sets error to
// "line N: " and what is wrong.
std::optional<Scenario> parseScenario(std::istream& in, std::string& error);

void applyStep(const ScenarioStep& step, SwitchPlant& plant, LinkFaults& faults, Millis now);

// Plays a scenario against the clock, starting over at its "repeat" step.
class ScenarioPlayer {
  public:
    ScenarioPlayer(Scenario scenario, Millis start);
    void run(Millis now, SwitchPlant& plant, LinkFaults& faults);

  private:
    Scenario scenario_;
    Millis cycleStart_;
    std::size_t next_ = 0;
};

}  // namespace sts
