// A started monitor with all six windows built and bound to its display
// model, offscreen.
#pragma once

#include <QMainWindow>
#include <memory>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {

class WindowsRig : public VirtualRig {
  public:
    explicit WindowsRig(const std::string& config = "COMPORT:1\r\n") : VirtualRig(config) {
        binder.bindAll();
        start();
        binder.flush();
    }

    const std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    const std::unique_ptr<QWidget> form4{buildAlarmsWindow()};  // the one without an owner
    const std::array<QWidget*, kFormCount> windows{
        form1.get(),
        buildSettingsDialog(form1.get()),
        buildLoginDialog(form1.get()),
        form4.get(),
        buildAboutWindow(form1.get()),
        buildTrendsWindow(form1.get(), monitor.trends())};
    Binder binder{monitor, windows};
};

}  // namespace treld::testing
