#include "scenario.h"

#include <sstream>

#include "device_clock.h"

namespace sts {

namespace {

constexpr int kMaxChunks = 64;
constexpr int kMaxDelayMs = 60'000;
constexpr Millis kMaxTime = 24LL * 3600 * 1000;
constexpr std::size_t kMaxLineLength = 200;
constexpr std::size_t kMaxSteps = 10'000;

// Reads one line; a longer one than the bound is consumed whole but flagged, so that a broken
// file never takes unbounded memory.
bool readLine(std::istream& in, std::string& text, bool& overlong) {
    text.clear();
    overlong = false;
    bool any = false;
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\n') {
            return true;
        }
        if (text.size() < kMaxLineLength) {
            text.push_back(static_cast<char>(c));
        } else {
            overlong = true;
        }
    }
    return any;
}

std::optional<Millis> parseTime(const std::string& word) {
    std::size_t digits = 0;
    while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 8) {
        return std::nullopt;
    }
    const Millis value = parseDigits(std::string_view(word).substr(0, digits));
    const std::string unit = word.substr(digits);
    Millis ms = 0;
    if (unit == "s") {
        ms = value * 1000;
    } else if (unit == "ms") {
        ms = value;
    } else {
        return std::nullopt;
    }
    return ms <= kMaxTime ? std::optional<Millis>(ms) : std::nullopt;
}

std::optional<bool> parseSwitch(const std::string& word, const char* onWord, const char* offWord) {
    if (word == onWord) {
        return true;
    }
    if (word == offWord) {
        return false;
    }
    return std::nullopt;
}

// Fills step from the words after the time; returns what is wrong, or "" when fine.
std::string parseAction(const std::vector<std::string>& words, ScenarioStep& step) {
    using Kind = ScenarioStep::Kind;
    const std::string& subject = words[1];
    const std::string argument = words.size() > 2 ? words[2] : "";
    const bool sourceSubject = subject == "source1" || subject == "source2";
    const bool sourceSwitch = sourceSubject && (argument == "input" || argument == "bypass");
    if (words.size() > (sourceSwitch ? 4u : 3u)) {
        return "too many words";
    }
    if (sourceSubject) {
        step.source = subject == "source1" ? 0 : 1;
        step.kind = Kind::Condition;
        if (sourceSwitch) {
            const bool input = argument == "input";
            const std::string position = words.size() > 3 ? words[3] : "";
            const auto on =
                input ? parseSwitch(position, "off", "on") : parseSwitch(position, "on", "off");
            step.condition = input ? Condition::InputSwitchOff : Condition::BypassOn;
            step.on = on.value_or(false);
            return on ? "" : "expected on or off";
        }
        if (argument == "blackout" || argument == "voltage-bad" || argument == "frequency-bad") {
            step.condition = argument == "blackout"      ? Condition::Blackout
                             : argument == "voltage-bad" ? Condition::VoltageBad
                                                         : Condition::FrequencyBad;
            return "";
        }
        if (argument == "restore") {
            step.kind = Kind::Restore;
            return "";
        }
        return "expected blackout, voltage-bad, frequency-bad, restore, input or bypass";
    }
    struct Switched {
        const char* subject;
        Kind kind;
        Condition condition;
    };
    static const Switched kSwitched[] = {
        {"output-switch", Kind::Condition, Condition::OutputSwitchOff},
        {"overload", Kind::Condition, Condition::Overload},
        {"overtemp", Kind::Condition, Condition::OverTemperature},
        {"silent", Kind::Silent, Condition::Blackout},
        {"cut", Kind::Cut, Condition::Blackout},
        {"garbage", Kind::Garbage, Condition::Blackout},
        {"no-cr", Kind::NoCr, Condition::Blackout},
    };
    for (const Switched& s : kSwitched) {
        if (subject == s.subject) {
            const bool inverted = s.condition == Condition::OutputSwitchOff;
            const auto on =
                inverted ? parseSwitch(argument, "off", "on") : parseSwitch(argument, "on", "off");
            if (!on) {
                return "expected on or off";
            }
            step.kind = s.kind;
            step.condition = s.condition;
            step.on = *on;
            return "";
        }
    }
    if (subject == "chunks" || subject == "delay") {
        const bool chunks = subject == "chunks";
        const int value = argument.size() <= 6 ? parseDigits(argument) : -1;
        if (value < (chunks ? 1 : 0) || value > (chunks ? kMaxChunks : kMaxDelayMs)) {
            return chunks ? "expected a number of pieces 1..64" : "expected milliseconds 0..60000";
        }
        step.kind = chunks ? Kind::Chunks : Kind::Delay;
        step.number = value;
        return "";
    }
    if (subject == "repeat") {
        step.kind = Kind::Repeat;
        return argument.empty() ? "" : "repeat takes no argument";
    }
    return "unknown subject '" + subject + "'";
}

}  // namespace

std::optional<Scenario> parseScenario(std::istream& in, std::string& error) {
    Scenario scenario;
    std::string text;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return std::nullopt;
    };
    bool overlong = false;
    while (readLine(in, text, overlong)) {
        ++lineNumber;
        if (overlong) {
            return fail("line too long");
        }
        if (scenario.steps.size() >= kMaxSteps) {
            return fail("too many steps");
        }
        std::istringstream words(text.substr(0, text.find('#')));
        std::vector<std::string> parts;
        for (std::string word; words >> word;) {
            parts.push_back(word);
        }
        if (parts.empty()) {
            continue;
        }
        if (!scenario.steps.empty() && scenario.steps.back().kind == ScenarioStep::Kind::Repeat) {
            return fail("nothing may follow repeat");
        }
        ScenarioStep step;
        const auto at = parseTime(parts[0]);
        if (!at) {
            return fail("bad time '" + parts[0] + "' (expected e.g. 10s or 500ms)");
        }
        step.at = *at;
        if (!scenario.steps.empty() && step.at < scenario.steps.back().at) {
            return fail("time goes backwards");
        }
        if (parts.size() < 2) {
            return fail("missing subject");
        }
        if (const std::string wrong = parseAction(parts, step); !wrong.empty()) {
            return fail(wrong);
        }
        if (step.kind == ScenarioStep::Kind::Repeat && step.at < 1000) {
            return fail("repeat needs a time of at least 1s");
        }
        scenario.steps.push_back(step);
    }
    return scenario;
}

void applyStep(const ScenarioStep& step, SwitchPlant& plant, LinkFaults& faults, Millis now) {
    using Kind = ScenarioStep::Kind;
    switch (step.kind) {
        case Kind::Condition:
            plant.setCondition(step.condition, step.source, step.on, now);
            break;
        case Kind::Restore:
            plant.clearSourceFaults(step.source, now);
            break;
        case Kind::Silent:
            faults.silent = step.on;
            break;
        case Kind::Cut:
            faults.cut = step.on;
            break;
        case Kind::Garbage:
            faults.garbage = step.on;
            break;
        case Kind::NoCr:
            faults.noCr = step.on;
            break;
        case Kind::Chunks:
            faults.chunks = step.number;
            break;
        case Kind::Delay:
            faults.delayMs = step.number;
            break;
        case Kind::Repeat:
            break;
    }
}

ScenarioPlayer::ScenarioPlayer(Scenario scenario, Millis start)
    : scenario_(std::move(scenario)), cycleStart_(start) {}

void ScenarioPlayer::run(Millis now, SwitchPlant& plant, LinkFaults& faults) {
    while (next_ < scenario_.steps.size()) {
        const ScenarioStep& step = scenario_.steps[next_];
        const Millis due = cycleStart_ + step.at;
        if (due > now) {
            return;
        }
        if (step.kind == ScenarioStep::Kind::Repeat) {
            cycleStart_ = due;  // repeat times are at least 1 s, so this always moves on
            next_ = 0;
            continue;
        }
        applyStep(step, plant, faults, now);
        ++next_;
    }
}

}  // namespace sts
