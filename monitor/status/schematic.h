// The one-line diagram of the switch on the "Measures" tab: its elements,
// where they stand (twips from the top-left corner of the tab page), and the
// rules that show the decoded status on it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "status/status_controls.h"
#include "status/status_core.h"

namespace treld {

// A switch of the diagram and the decoded status field that opens or closes
// it: input and output switches are closed at 0, maintenance bypasses at 1.
struct SwitchState {
    Int16 DecodedStatus::*field;
    Int16 closedAt;
};

// All elements of the diagram are on Form1.
struct SchematicLine {
    std::string_view name;
    std::uint32_t colour;
    int x1, y1, x2, y2;
    bool designVisible;
    const SwitchState* switchState = nullptr;  // the switch whose segment it is
    bool shownWhenClosed = false;
};

struct SchematicSwitch {
    std::string_view closed;  // picture element of the closed switch
    std::string_view open;
    int left, top;
    std::string_view tooltip;
    const SwitchState* state;
};

// The lines that the transfer path and the load state move.
inline constexpr ElementName kUpperPath{Form::Form1, "Line1"};
inline constexpr ElementName kLowerPath{Form::Form1, "Line2"};
inline constexpr ElementName kLoadLive{Form::Form1, "Line17"};
inline constexpr ElementName kLoadDead{Form::Form1, "Line26"};
// The load, drawn as a box at the end of the output line.
inline constexpr ElementName kLoadBox{Form::Form1, "Shape1"};

// The measurement panels that stand in the power path, hiding the lines
// beneath them, and the load's box.
struct SchematicBox {
    ElementName element;
    std::string_view title;
    int left, top, width, height;
};

// Closed pictures are 690 x 690 twips, open ones 690 x 675.
inline constexpr int kSwitchWidth = 690;
inline constexpr int kClosedSwitchHeight = 690;
inline constexpr int kOpenSwitchHeight = 675;

std::span<const SchematicLine> schematicLines();
std::span<const SchematicSwitch> schematicSwitches();
std::span<const SchematicBox> schematicBoxes();

void declareSchematicElements(DisplayModel& ui);

// Lights the transfer path from the source in use to the Output panel.
// Acts only for SourceIndicator 0 or 1 and PathCode 0..5.
void showTransferPath(StatusCore& c);

// Opens or closes the five switches and their live/dead segments, then the
// load line. A switch acts on 0 and 1 only; any other value leaves it.
void showSwitches(StatusCore& c);

}  // namespace treld
