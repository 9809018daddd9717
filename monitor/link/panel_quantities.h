// The sixteen quantities of the measurement replies, in one list for the
// trend charts and files and for what the fleet publishes: where each number
// sits in LinkCore::readings, its names, its unit and what it measures.
#pragma once

#include <array>
#include <string_view>

#include "link/panel_readings.h"

namespace treld {

enum class QuantityKind { Voltage, Frequency, Load, Current, Temperature, SyncAngle };

struct PanelQuantity {
    ReplyGroup group;
    int field;               // index in PanelReading::numbers
    std::string_view name;   // short, for chart legends and CSV columns
    std::string_view title;  // in full, for dashboards
    std::string_view unit;   // in plain letters, as the panels write it
    int divisor;             // from the reply's number to the unit (10 for the frequencies)
    QuantityKind kind;
    int source;  // 1 or 2; 0 for the output
    int phase;   // 1 to 3; 0 for a quantity of no phase
};

inline constexpr std::array<PanelQuantity, 2 * kReadingFields> kPanelQuantities = {{
    {ReplyGroup::Source, 0, "S1 L1", "Source1 L1 voltage", "V", 1, QuantityKind::Voltage, 1, 1},
    {ReplyGroup::Source, 1, "S1 L2", "Source1 L2 voltage", "V", 1, QuantityKind::Voltage, 1, 2},
    {ReplyGroup::Source, 2, "S1 L3", "Source1 L3 voltage", "V", 1, QuantityKind::Voltage, 1, 3},
    {ReplyGroup::Source, 3, "S2 L1", "Source2 L1 voltage", "V", 1, QuantityKind::Voltage, 2, 1},
    {ReplyGroup::Source, 4, "S2 L2", "Source2 L2 voltage", "V", 1, QuantityKind::Voltage, 2, 2},
    {ReplyGroup::Source, 5, "S2 L3", "Source2 L3 voltage", "V", 1, QuantityKind::Voltage, 2, 3},
    {ReplyGroup::Source, 6, "S1 frequency", "Source1 frequency", "Hz", 10, QuantityKind::Frequency,
     1, 0},
    {ReplyGroup::Source, 7, "S2 frequency", "Source2 frequency", "Hz", 10, QuantityKind::Frequency,
     2, 0},
    {ReplyGroup::Output, 0, "Load L1", "Output L1 load", "%", 1, QuantityKind::Load, 0, 1},
    {ReplyGroup::Output, 1, "Load L2", "Output L2 load", "%", 1, QuantityKind::Load, 0, 2},
    {ReplyGroup::Output, 2, "Load L3", "Output L3 load", "%", 1, QuantityKind::Load, 0, 3},
    {ReplyGroup::Output, 3, "Current L1", "Output L1 current", "A", 1, QuantityKind::Current, 0, 1},
    {ReplyGroup::Output, 4, "Current L2", "Output L2 current", "A", 1, QuantityKind::Current, 0, 2},
    {ReplyGroup::Output, 5, "Current L3", "Output L3 current", "A", 1, QuantityKind::Current, 0, 3},
    {ReplyGroup::Output, 6, "Temperature", "Temperature", "C", 1, QuantityKind::Temperature, 0, 0},
    {ReplyGroup::Output, 7, "SYNC angle", "SYNC angle", "deg", 1, QuantityKind::SyncAngle, 0, 0},
}};

}  // namespace treld
