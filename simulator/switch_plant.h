#pragma once

#include <array>
#include <optional>
#include <random>
#include <string>

#include "device_clock.h"
#include "event_log.h"
#include "option_table.h"

namespace sts {

// Faults and switch positions that the scenario and the command-line set.
enum class Condition {
    Blackout,         // per source: no voltage at all
    VoltageBad,       // per source: voltage out of tolerance
    FrequencyBad,     // per source
    InputSwitchOff,   // per source
    BypassOn,         // per source: maintenance bypass closed
    OutputSwitchOff,  // output switch open
    Overload,
    OverTemperature,
};

// Who decides the source that feeds the load.
enum class TransferMode { Automatic, ManualS1, ManualS2 };

// The electrical side of the switch: two three-phase sources, the thyristor switches that feed
// the load from one of them, the input, output and bypass switches, and the measurements. Time
// moves it on: values drift, a failed source is left for the other one, the load returns to
// the preferred source after the return delay, a transfer test ends. Events go to the log.
class SwitchPlant {
  public:
    SwitchPlant(const OptionTable& options, EventLog& log, const DeviceClock& clock, unsigned seed,
                Millis now);

    void setCondition(Condition condition, int source, bool on, Millis now);
    void clearSourceFaults(int source, Millis now);  // black-out, voltage and frequency

    void setMode(TransferMode mode, Millis now);
    void startTransferTest(Millis now);
    void inhibitOutput(Millis now);
    void resetInhibit(Millis now);
    void setSoundSilenced(bool silenced) { soundSilenced_ = silenced; }
    // Adds a log record that carries the present conditions.
    void logEvent(LogEvent event, Millis now);

    void advance(Millis now);

    int feedingSource() const { return feeding_; }

    std::string sourceReply() const;  // "SRV"
    std::string outputReply() const;  // "OPL"
    // "SAS": the 42-position status record; the login digits come from the caller.
    std::string statusRecord(bool serviceLogin, bool userLogin) const;

  private:
    struct Source {
        std::array<int, 3> volts{230, 230, 230};
        int frequency = 500;  // tenths of a hertz
        bool blackout = false;
        bool voltageBad = false;
        bool frequencyBad = false;
        bool inputOff = false;
        bool bypass = false;
        bool bad() const { return blackout || voltageBad || frequencyBad || inputOff; }
        bool synchronous() const { return !blackout && !frequencyBad; }
    };

    bool loadPowered() const;
    bool sourcesSynchronous() const;
    bool onBypass() const { return sources_[0].bypass || sources_[1].bypass; }
    int pathCode() const;
    int wantedSource(Millis now) const;
    ConditionGroups conditions() const;
    void transferTo(int source, Millis now);
    void drift();

    const OptionTable& options_;
    EventLog& log_;
    const DeviceClock& clock_;
    std::mt19937 random_;

    std::array<Source, 2> sources_{};
    int feeding_ = 0;
    TransferMode mode_ = TransferMode::Automatic;
    bool testActive_ = false;
    Millis testEnds_ = 0;
    int testReturnSource_ = 0;
    std::optional<Millis> preferredGoodSince_;
    bool inhibited_ = false;
    bool outputSwitchOff_ = false;
    bool overload_ = false;
    bool overTemperature_ = false;
    bool soundSilenced_ = false;
    int load_ = 42;         // percent
    int temperature_ = 33;  // degrees C
    int syncAngle_ = 1;     // degrees
    Millis nextDrift_ = 0;
    ConditionGroups loggedConditions_{};
};

}  // namespace sts
