// The measurement panels: source voltages and frequencies, output load,
// current, temperature, SYNC angle, version, STS clock and date.
#pragma once

#include <array>

#include "link/link_core.h"

namespace treld {

// The source panels: phase L1, L2 and L3 voltage, then the frequency.
inline constexpr std::array<ElementName, 4> kSource1Values = {{
    {Form::Form1, "Label8"},
    {Form::Form1, "Label10"},
    {Form::Form1, "Label12"},
    {Form::Form1, "Label26"},
}};
inline constexpr std::array<ElementName, 4> kSource2Values = {{
    {Form::Form1, "Label14"},
    {Form::Form1, "Label16"},
    {Form::Form1, "Label1"},
    {Form::Form1, "Label4"},
}};
// The output panel: load in percent and current of phase L1, L2 and L3.
inline constexpr std::array<ElementName, 3> kOutputLoads = {{
    {Form::Form1, "Label19"},
    {Form::Form1, "Label21"},
    {Form::Form1, "Label23"},
}};
inline constexpr std::array<ElementName, 3> kOutputCurrents = {{
    {Form::Form1, "Label42"},
    {Form::Form1, "Label43"},
    {Form::Form1, "Label44"},
}};
inline constexpr ElementName kTemperature{Form::Form1, "Label47"};
inline constexpr ElementName kSyncAngle{Form::Form1, "Label49"};
inline constexpr ElementName kVersion{Form::Form1, "Label52"};
inline constexpr ElementName kStsTime{Form::Form1, "Label80"};
inline constexpr ElementName kStsDate{Form::Form1, "Label81"};

void declareMeasurementElements(DisplayModel& ui);

// Decode the "SRV" / "OPL" reply in Reply once it passed its format test
// (link/reply_format.h): the panel shows the field texts, LinkCore::readings gets
// their numbers.
void decodeSourcePanel(LinkCore& c);
void decodeOutputPanel(LinkCore& c);
void showVersion(LinkCore& c);
void showStsTime(LinkCore& c);
void showStsDate(LinkCore& c);

// After a time-out or a garbled reply; the readings note the lost reply.
void blankSourcePanel(LinkCore& c);
void blankOutputPanel(LinkCore& c);

}  // namespace treld
