#include "status/schematic.h"

#include <optional>

namespace treld {
namespace {

constexpr SwitchState kOutputSwitch{&DecodedStatus::OutputSwitchOff, 0};
constexpr SwitchState kSource1Input{&DecodedStatus::Source1InputOff, 0};
constexpr SwitchState kSource1Bypass{&DecodedStatus::Source1BypassOn, 1};
constexpr SwitchState kSource2Input{&DecodedStatus::Source2InputOff, 0};
constexpr SwitchState kSource2Bypass{&DecodedStatus::Source2BypassOn, 1};

constexpr SchematicLine kLines[] = {
    {"Line10", kGreen, 960, 2520, 120, 2520, true},
    {"Line3", kGreen, 1680, 2520, 2400, 2520, true, &kSource1Input, true},
    {"Line24", kRed, 1680, 2520, 2400, 2520, false, &kSource1Input, false},
    {"Line8", kGreen, 120, 4320, 960, 4320, true},
    {"Line4", kGreen, 1680, 4320, 2400, 4320, true, &kSource2Input, true},
    {"Line25", kRed, 1680, 4320, 2400, 4320, false, &kSource2Input, false},
    {kUpperPath.name, kGreen, 2880, 2880, 5640, 2880, false},
    {kLowerPath.name, kGreen, 3000, 3960, 5760, 3960, false},
    {"Line18", kGreen, 7680, 3480, 8400, 3480, true},
    {"Line15", kGreen, 8520, 3480, 9120, 3480, true, &kOutputSwitch, true},
    {"Line23", kRed, 8520, 3480, 9120, 3480, false, &kOutputSwitch, false},
    {kLoadLive.name, kGreen, 9120, 3480, 9540, 3480, true},
    {kLoadDead.name, kRed, 9120, 3480, 9540, 3480, false},
    {"Line11", kGreen, 480, 2520, 480, 1260, true},
    {"Line13", kGreen, 480, 1260, 4920, 1260, true},
    {"Line12", kGreen, 4620, 1260, 9120, 1260, true, &kSource1Bypass, true},
    {"Line19", kRed, 4800, 1260, 9120, 1260, false, &kSource1Bypass, false},
    {"Line14", kGreen, 9120, 1260, 9120, 3480, true, &kSource1Bypass, true},
    {"Line20", kRed, 9120, 1260, 9120, 3480, false, &kSource1Bypass, false},
    {"Line5", kGreen, 480, 4320, 480, 5700, true},
    {"Line6", kGreen, 5100, 5700, 480, 5700, true},
    {"Line7", kGreen, 4860, 5700, 9120, 5700, true, &kSource2Bypass, true},
    {"Line21", kRed, 4920, 5700, 9120, 5700, false, &kSource2Bypass, false},
    {"Line16", kGreen, 9120, 3480, 9120, 5700, true, &kSource2Bypass, true},
    {"Line22", kRed, 9120, 3480, 9120, 5640, false, &kSource2Bypass, false},
};

constexpr SchematicSwitch kSwitches[] = {
    {"sw1", "sw2", 8160, 3120, "Output switch", &kOutputSwitch},
    {"sw3", "sw4", 4620, 960, "Source 1 maintenance switch", &kSource1Bypass},
    {"sw5", "sw6", 4620, 5340, "Source 2 maintenance switch", &kSource2Bypass},
    {"sw7", "sw8", 960, 2160, "Source 1 input switch", &kSource1Input},
    {"sw9", "sw10", 960, 3960, "Source 2 input switch", &kSource2Input},
};

constexpr SchematicBox kBoxes[] = {
    {kSource1Panel, "Source 1", 1860, 1440, 2415, 1815},
    {kSource2Panel, "Source 2", 1860, 3480, 2415, 1815},
    {kOutputPanel, "Output", 5040, 2400, 2775, 2295},
    {kLoadBox, "Load", 9540, 3000, 975, 975},
};

// Whether PathCode 0..5 lights Line1 (else Line2), by SourceIndicator 0 or 1.
constexpr bool kLine1Lit[2][6] = {
    {true, false, true, false, true, false},
    {false, true, true, false, true, false},
};

// Whether the switch shows closed; nothing for a value other than 0 and 1.
std::optional<bool> isClosed(const StatusCore& c, const SwitchState& state) {
    const Int16 value = c.status.*state.field;
    if (value != 0 && value != 1)
        return std::nullopt;
    return value == state.closedAt;
}

Element& diagramElement(StatusCore& c, std::string_view name) {
    return c.ui(Form::Form1, name);
}

}  // namespace

std::span<const SchematicLine> schematicLines() {
    return kLines;
}

std::span<const SchematicSwitch> schematicSwitches() {
    return kSwitches;
}

std::span<const SchematicBox> schematicBoxes() {
    return kBoxes;
}

void declareSchematicElements(DisplayModel& ui) {
    for (const SchematicLine& line : kLines) {
        ui.declare({Form::Form1, line.name},
                   {.visible = line.designVisible, .backColour = line.colour});
    }
    for (const SchematicSwitch& sw : kSwitches) {
        ui.declare({Form::Form1, sw.closed});
        ui.declare({Form::Form1, sw.open});
    }
    ui.declare(kLoadBox);
}

void showTransferPath(StatusCore& c) {
    const int source = c.status.SourceIndicator;
    const int path = c.status.PathCode;
    if (source < 0 || source > 1 || path < 0 || path > 5)
        return;
    const bool line1 = kLine1Lit[source][path];
    c.ui(kUpperPath).setVisible(line1);
    c.ui(kLowerPath).setVisible(!line1);
}

void showSwitches(StatusCore& c) {
    for (const SchematicSwitch& sw : kSwitches) {
        if (const std::optional<bool> closed = isClosed(c, *sw.state)) {
            diagramElement(c, sw.closed).setVisible(*closed);
            diagramElement(c, sw.open).setVisible(!*closed);
        }
    }
    for (const SchematicLine& line : kLines) {
        if (line.switchState == nullptr)
            continue;
        if (const std::optional<bool> closed = isClosed(c, *line.switchState))
            diagramElement(c, line.name).setVisible(*closed == line.shownWhenClosed);
    }
    const bool loadDead = c.status.OutputSwitchOff == 1 && c.status.Source1BypassOn == 0 &&
                          c.status.Source2BypassOn == 0;
    c.ui(kLoadDead).setVisible(loadDead);
    c.ui(kLoadLive).setVisible(!loadDead);
}

}  // namespace treld
