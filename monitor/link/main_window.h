// The frame of the main window: caption, tabs, status row, menus.
#pragma once

#include "link/display_model.h"

namespace treld {

inline constexpr std::string_view kProgramTitle = "ZID evevori";

void declareMainWindowElements(DisplayModel& ui);

}  // namespace treld
