// The frame of the main window: caption, tabs, status row, menus.
#pragma once

#include "foundation/display_model.h"

namespace treld {

inline constexpr std::string_view kProgramTitle = "ZID evevori";

// Tabs of SSTab1.
enum Tab { kMeasuresTab = 0, kOptionsTab = 1, kDemoSetTab = 2, kControlTab = 3, kLogTab = 4 };

void declareMainWindowElements(DisplayModel& ui);

}  // namespace treld
