// A started monitor with all its windows built and bound to its display
// model, offscreen.
#pragma once

#include "support/virtual_rig.h"
#include "windows/station_windows.h"

namespace treld::testing {

class WindowsRig : public VirtualRig {
  public:
    explicit WindowsRig(const std::string& config = "COMPORT:1\r\n") : VirtualRig(config) {
        binder.bindAll();
        start();
        binder.flush();
    }

    StationWindows station{monitor};
    QMainWindow* const form1 = station.form1.get();
    QWidget* const form4 = station.form4.get();
    const std::array<QWidget*, kFormCount>& windows = station.windows;
    Binder& binder = station.binder;
};

}  // namespace treld::testing
