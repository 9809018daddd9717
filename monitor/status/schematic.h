// The one-line diagram of the switch on the "Measures" tab: its elements,
// where they stand (twips from the top-left corner of the tab page), and the
// rules that show the decoded status on it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "foundation/core.h"

namespace treld {

struct SchematicLine {
    std::string_view name;
    std::uint32_t colour;
    int x1, y1, x2, y2;
    bool designVisible;
};

struct SchematicSwitch {
    std::string_view closed;  // picture element of the closed switch
    std::string_view open;
    int left, top;
    std::string_view tooltip;
};

// Closed pictures are 690 x 690 twips, open ones 690 x 675.
inline constexpr int kSwitchWidth = 690;
inline constexpr int kClosedSwitchHeight = 690;
inline constexpr int kOpenSwitchHeight = 675;

std::span<const SchematicLine> schematicLines();
std::span<const SchematicSwitch> schematicSwitches();

void declareSchematicElements(DisplayModel& ui);

// Lights the transfer path from the source in use to the Output panel.
// Acts only for SourceIndicator 0 or 1 and PathCode 0..5.
void showTransferPath(Core& c);

// Opens or closes the five switches and their live/dead segments, then the
// load line. A switch acts on 0 and 1 only; any other value leaves it.
void showSwitches(Core& c);

}  // namespace treld
