#include "switch_plant.h"

#include <algorithm>
#include <cstdio>

namespace sts {

namespace {

constexpr Millis kDriftPeriod = 1000;
constexpr int kMaxDriftSteps = 3600;  // after a long pause, catch up at most an hour
constexpr Millis kTransferTestLength = 5000;
constexpr int kOutOfToleranceDrop = 45;  // volts below nominal
constexpr int kBadFrequency = 470;
constexpr int kOverloadPercent = 115;
constexpr int kOverTemperature = 78;
constexpr int kAsynchronousAngle = 180;

int field(int value) {
    return std::clamp(value, 0, 999);
}

}  // namespace

SwitchPlant::SwitchPlant(const OptionTable& options, EventLog& log, const DeviceClock& clock,
                         unsigned seed, Millis now)
    : options_(options),
      log_(log),
      clock_(clock),
      random_(seed),
      feeding_(options.value(OptionTable::PreferredSource) & 1),
      preferredGoodSince_(now),
      nextDrift_(now + kDriftPeriod) {
    logEvent(LogEvent::Reset, now);
}

void SwitchPlant::setCondition(Condition condition, int source, bool on, Millis now) {
    Source& s = sources_[source & 1];
    switch (condition) {
        case Condition::Blackout:
            s.blackout = on;
            break;
        case Condition::VoltageBad:
            s.voltageBad = on;
            break;
        case Condition::FrequencyBad:
            s.frequencyBad = on;
            break;
        case Condition::InputSwitchOff:
            s.inputOff = on;
            break;
        case Condition::BypassOn:
            if (on && !s.bypass) {
                logEvent((source & 1) == 0 ? LogEvent::BypassToS1 : LogEvent::BypassToS2, now);
            }
            s.bypass = on;
            break;
        case Condition::OutputSwitchOff:
            if (on && !outputSwitchOff_) {
                logEvent(LogEvent::OutputShutdown, now);
            }
            outputSwitchOff_ = on;
            break;
        case Condition::Overload:
            overload_ = on;
            break;
        case Condition::OverTemperature:
            overTemperature_ = on;
            break;
    }
    advance(now);
}

void SwitchPlant::clearSourceFaults(int source, Millis now) {
    Source& s = sources_[source & 1];
    s.blackout = s.voltageBad = s.frequencyBad = false;
    advance(now);
}

void SwitchPlant::setMode(TransferMode mode, Millis now) {
    mode_ = mode;
    advance(now);
}

void SwitchPlant::startTransferTest(Millis now) {
    if (!testActive_) {
        testReturnSource_ = feeding_;
    }
    testActive_ = true;
    testEnds_ = now + kTransferTestLength;
    advance(now);
}

void SwitchPlant::inhibitOutput(Millis now) {
    if (!inhibited_) {
        logEvent(LogEvent::OutputShutdown, now);
    }
    inhibited_ = true;
    advance(now);
}

void SwitchPlant::resetInhibit(Millis now) {
    inhibited_ = false;
    logEvent(LogEvent::Reset, now);
    advance(now);
}

void SwitchPlant::advance(Millis now) {
    int steps = 0;
    for (; now >= nextDrift_ && steps < kMaxDriftSteps; ++steps) {
        drift();
        nextDrift_ += kDriftPeriod;
    }
    if (now >= nextDrift_) {
        nextDrift_ = now + kDriftPeriod;
    }

    if (testActive_ && now >= testEnds_) {
        testActive_ = false;
        if (feeding_ != testReturnSource_ && !sources_[testReturnSource_].bad()) {
            transferTo(testReturnSource_, now);
        }
    }
    const int preferred = options_.value(OptionTable::PreferredSource) & 1;
    if (sources_[preferred].bad()) {
        preferredGoodSince_.reset();
    } else if (!preferredGoodSince_) {
        preferredGoodSince_ = now;
    }
    const int wanted = wantedSource(now);
    if (wanted != feeding_) {
        transferTo(wanted, now);
    }
    const ConditionGroups groups = conditions();
    if (groups != loggedConditions_) {
        loggedConditions_ = groups;
        logEvent(LogEvent::Conditions, now);
    }
}

int SwitchPlant::wantedSource(Millis now) const {
    const int other = 1 - feeding_;
    if (sources_[feeding_].bad()) {
        // Leave a failed source when the other one can carry the load.
        return sources_[other].bad() ? feeding_ : other;
    }
    const int preferred = options_.value(OptionTable::PreferredSource) & 1;
    int target = preferred;
    if (testActive_) {
        target = 1 - testReturnSource_;
    } else if (mode_ == TransferMode::ManualS1) {
        target = 0;
    } else if (mode_ == TransferMode::ManualS2) {
        target = 1;
    }
    if (target == feeding_ || sources_[target].bad()) {
        return feeding_;
    }
    if (mode_ == TransferMode::Automatic && !testActive_) {
        // Return to the preferred source only once it has stayed good for the return delay.
        const Millis delay = options_.value(OptionTable::ReturnDelay) * Millis{1000};
        const bool returnAllowed = options_.value(OptionTable::Retransfer) != 0;
        if (!returnAllowed || !preferredGoodSince_ || now - *preferredGoodSince_ < delay) {
            return feeding_;
        }
    }
    return target;
}

void SwitchPlant::transferTo(int source, Millis now) {
    feeding_ = source;
    logEvent(source == 0 ? LogEvent::OnSource1 : LogEvent::OnSource2, now);
}

void SwitchPlant::logEvent(LogEvent event, Millis now) {
    log_.add(event, conditions(), clock_.read(now));
}

bool SwitchPlant::loadPowered() const {
    const bool throughSwitch = !inhibited_ && !outputSwitchOff_ && !sources_[feeding_].bad();
    return throughSwitch || onBypass();
}

bool SwitchPlant::sourcesSynchronous() const {
    return sources_[0].synchronous() && sources_[1].synchronous();
}

int SwitchPlant::pathCode() const {
    // 0 automatic, 2/3 held on source 1/2 by a manual transfer, 4/5 transfer test on source 1/2.
    if (testActive_) {
        return 4 + feeding_;
    }
    if (mode_ == TransferMode::ManualS1 && feeding_ == 0) {
        return 2;
    }
    if (mode_ == TransferMode::ManualS2 && feeding_ == 1) {
        return 3;
    }
    return 0;
}

ConditionGroups SwitchPlant::conditions() const {
    const Source& s1 = sources_[0];
    const Source& s2 = sources_[1];
    const bool nonsyncInhibit =
        !sourcesSynchronous() && (options_.value(OptionTable::NonsyncTransferMode) & 1) == 0;
    ConditionGroups g;
    g.a = (s1.bad() ? 1 : 0) | (s2.bad() ? 2 : 0) | (!sourcesSynchronous() ? 4 : 0) |
          (overload_ ? 8 : 0) | (nonsyncInhibit ? 16 : 0) | (sources_[1 - feeding_].bad() ? 32 : 0);
    g.b = (overTemperature_ ? 4 : 0) | (mode_ == TransferMode::ManualS1 ? 8 : 0) |
          (mode_ == TransferMode::ManualS2 ? 16 : 0) | (outputSwitchOff_ || inhibited_ ? 128 : 0);
    g.c = (s1.inputOff ? 1 : 0) | (s2.inputOff ? 2 : 0) | (s1.blackout ? 4 : 0) |
          (s2.blackout ? 8 : 0) | (s1.frequencyBad ? 16 : 0) | (s2.frequencyBad ? 32 : 0);
    return g;
}

void SwitchPlant::drift() {
    std::uniform_int_distribution<int> step(-1, 1);
    for (Source& s : sources_) {
        for (int& v : s.volts) {
            v = std::clamp(v + step(random_), 226, 234);
        }
        s.frequency = std::clamp(s.frequency + step(random_), 499, 501);
    }
    load_ = std::clamp(load_ + step(random_), 38, 46);
    temperature_ = std::clamp(temperature_ + step(random_), 31, 36);
    syncAngle_ = std::clamp(syncAngle_ + step(random_), 0, 3);
}

std::string SwitchPlant::sourceReply() const {
    int volts[2][3];
    int frequency[2];
    for (int i = 0; i < 2; ++i) {
        const Source& s = sources_[i];
        for (int phase = 0; phase < 3; ++phase) {
            const int drop = s.voltageBad ? kOutOfToleranceDrop : 0;
            volts[i][phase] = s.blackout ? 0 : field(s.volts[phase] - drop);
        }
        frequency[i] = s.blackout ? 0 : (s.frequencyBad ? kBadFrequency : s.frequency);
    }
    char text[48];
    std::snprintf(text, sizeof text, "#%03d %03d %03d %03d %03d %03d %04d %04d\r", volts[0][0],
                  volts[0][1], volts[0][2], volts[1][0], volts[1][1], volts[1][2], frequency[0],
                  frequency[1]);
    return text;
}

std::string SwitchPlant::outputReply() const {
    static constexpr int kPhaseOffset[3] = {-1, 0, 2};
    int load[3];
    int current[3];
    for (int phase = 0; phase < 3; ++phase) {
        const int percent = (overload_ ? kOverloadPercent : load_) + kPhaseOffset[phase];
        load[phase] = loadPowered() ? field(percent) : 0;
        current[phase] = field(load[phase] * 3 / 2);  // 150 A rated current
    }
    const int temperature = overTemperature_ ? kOverTemperature : temperature_;
    const int angle = sourcesSynchronous() ? syncAngle_ : kAsynchronousAngle;
    char text[48];
    std::snprintf(text, sizeof text, "#%03d %03d %03d %03d %03d %03d %03d %03d\r", load[0], load[1],
                  load[2], current[0], current[1], current[2], field(temperature), field(angle));
    return text;
}

std::string SwitchPlant::statusRecord(bool serviceLogin, bool userLogin) const {
    const ConditionGroups g = conditions();
    std::string record(42, '0');
    auto set = [&record](int position, bool flag) { record[position - 1] = flag ? '1' : '0'; };
    record[0] = '#';
    for (int separator : {10, 19, 28, 37}) {
        record[separator - 1] = ' ';
    }
    for (int i = 0; i < 2; ++i) {
        const Source& s = sources_[i];
        const int base = i == 0 ? 2 : 11;
        set(base, s.voltageBad);
        set(base + 3, s.blackout);
        set(base + 5, s.frequencyBad);
        set(base + 6, s.inputOff);
        set(20 + i, s.bad());
        set(34 + i, s.bypass);
    }
    set(22, !sourcesSynchronous());
    set(23, overload_);
    set(24, (g.a & 16) != 0);
    set(25, (g.a & 32) != 0);
    set(26, overTemperature_);
    set(27, testActive_);
    set(31, !loadPowered());
    set(32, mode_ == TransferMode::ManualS1);
    set(33, mode_ == TransferMode::ManualS2);
    set(36, outputSwitchOff_ || inhibited_);
    record[37] = static_cast<char>('0' + feeding_);
    record[38] = static_cast<char>('0' + pathCode());
    set(40, serviceLogin);
    set(41, soundSilenced_);
    set(42, userLogin);
    return record + '\r';
}

}  // namespace sts
