#include "status/schematic.h"

#include <vector>

namespace treld {
namespace {

constexpr SchematicLine kLines[] = {
    {"Line10", kGreen, 960, 2520, 120, 2520, true},
    {"Line3", kGreen, 1680, 2520, 2400, 2520, true},
    {"Line24", kRed, 1680, 2520, 2400, 2520, false},
    {"Line8", kGreen, 120, 4320, 960, 4320, true},
    {"Line4", kGreen, 1680, 4320, 2400, 4320, true},
    {"Line25", kRed, 1680, 4320, 2400, 4320, false},
    {"Line1", kGreen, 2880, 2880, 5640, 2880, false},
    {"Line2", kGreen, 3000, 3960, 5760, 3960, false},
    {"Line18", kGreen, 7680, 3480, 8400, 3480, true},
    {"Line15", kGreen, 8520, 3480, 9120, 3480, true},
    {"Line23", kRed, 8520, 3480, 9120, 3480, false},
    {"Line17", kGreen, 9120, 3480, 9540, 3480, true},
    {"Line26", kRed, 9120, 3480, 9540, 3480, false},
    {"Line11", kGreen, 480, 2520, 480, 1260, true},
    {"Line13", kGreen, 480, 1260, 4920, 1260, true},
    {"Line12", kGreen, 4620, 1260, 9120, 1260, true},
    {"Line19", kRed, 4800, 1260, 9120, 1260, false},
    {"Line14", kGreen, 9120, 1260, 9120, 3480, true},
    {"Line20", kRed, 9120, 1260, 9120, 3480, false},
    {"Line5", kGreen, 480, 4320, 480, 5700, true},
    {"Line6", kGreen, 5100, 5700, 480, 5700, true},
    {"Line7", kGreen, 4860, 5700, 9120, 5700, true},
    {"Line21", kRed, 4920, 5700, 9120, 5700, false},
    {"Line16", kGreen, 9120, 3480, 9120, 5700, true},
    {"Line22", kRed, 9120, 3480, 9120, 5640, false},
};

constexpr SchematicSwitch kSwitches[] = {
    {"sw1", "sw2", 8160, 3120, "Output switch"},
    {"sw3", "sw4", 4620, 960, "Source 1 maintenance switch"},
    {"sw5", "sw6", 4620, 5340, "Source 2 maintenance switch"},
    {"sw7", "sw8", 960, 2160, "Source 1 input switch"},
    {"sw9", "sw10", 960, 3960, "Source 2 input switch"},
};

// An element and whether it shows while its status field is 0; a 1 shows
// the opposite.
struct Shown {
    std::string_view element;
    bool atZero;
};

struct SwitchRule {
    Int16 DecodedStatus::*field;
    std::vector<Shown> elements;
};

// An input or output switch is closed at 0; a maintenance bypass is closed at 1.
const SwitchRule kSwitchRules[] = {
    {&DecodedStatus::OutputSwitchOff,
     {{"sw1", true}, {"sw2", false}, {"Line15", true}, {"Line23", false}}},
    {&DecodedStatus::Source1InputOff,
     {{"sw7", true}, {"sw8", false}, {"Line24", false}, {"Line3", true}}},
    {&DecodedStatus::Source1BypassOn,
     {{"sw3", false},
      {"sw4", true},
      {"Line19", true},
      {"Line12", false},
      {"Line20", true},
      {"Line14", false}}},
    {&DecodedStatus::Source2InputOff,
     {{"sw9", true}, {"sw10", false}, {"Line4", true}, {"Line25", false}}},
    {&DecodedStatus::Source2BypassOn,
     {{"sw5", false},
      {"sw6", true},
      {"Line21", true},
      {"Line7", false},
      {"Line22", true},
      {"Line16", false}}},
};

// Whether PathCode 0..5 lights Line1 (else Line2), by SourceIndicator 0 or 1.
constexpr bool kLine1Lit[2][6] = {
    {true, false, true, false, true, false},
    {false, true, true, false, true, false},
};

}  // namespace

std::span<const SchematicLine> schematicLines() {
    return kLines;
}

std::span<const SchematicSwitch> schematicSwitches() {
    return kSwitches;
}

void declareSchematicElements(DisplayModel& ui) {
    for (const SchematicLine& line : kLines) {
        ui.declare(Form::Form1, std::string(line.name),
                   {.visible = line.designVisible, .backColour = line.colour});
    }
    for (const SchematicSwitch& sw : kSwitches) {
        ui.declare(Form::Form1, std::string(sw.closed));
        ui.declare(Form::Form1, std::string(sw.open));
    }
}

void showTransferPath(Core& c) {
    const int source = c.status.SourceIndicator;
    const int path = c.status.PathCode;
    if (source < 0 || source > 1 || path < 0 || path > 5)
        return;
    const bool line1 = kLine1Lit[source][path];
    c.form1("Line1").setVisible(line1);
    c.form1("Line2").setVisible(!line1);
}

void showSwitches(Core& c) {
    for (const SwitchRule& rule : kSwitchRules) {
        const Int16 value = c.status.*rule.field;
        if (value != 0 && value != 1)
            continue;
        for (const Shown& shown : rule.elements)
            c.form1(shown.element).setVisible(shown.atZero == (value == 0));
    }
    const bool loadDead = c.status.OutputSwitchOff == 1 && c.status.Source1BypassOn == 0 &&
                          c.status.Source2BypassOn == 0;
    c.form1("Line26").setVisible(loadDead);
    c.form1("Line17").setVisible(!loadDead);
}

}  // namespace treld
