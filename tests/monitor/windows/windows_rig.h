// A started monitor with all its windows built and bound to its display
// model, offscreen.
#pragma once

#include "support/virtual_rig.h"
#include "windows/station_windows.h"

namespace treld::testing {

class WindowsRig : public VirtualRig, public StationWindows {
  public:
    explicit WindowsRig(const std::string& config = "COMPORT:1\r\n")
        : VirtualRig(config), StationWindows(monitor) {
        binder.bindAll();
        start();
        binder.flush();
    }
};

}  // namespace treld::testing
