// A started monitor with all six windows built and bound to its display
// model, offscreen.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <memory>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {

class WindowsRig : public VirtualRig {
  public:
    explicit WindowsRig(const std::string& config = "COMPORT:1\r\n")
        : form1(buildMainWindow()),
          windows{form1,
                  buildSettingsDialog(form1),
                  buildLoginDialog(form1),
                  buildAlarmsWindow(),
                  buildAboutWindow(form1),
                  buildTrendsWindow(form1, monitor.trends())},
          binder(std::make_unique<Binder>(monitor, windows)) {
        writeConfig(config);
        binder->bindAll();
        start();
        binder->flush();
    }
    ~WindowsRig() {
        binder.reset();
        delete window(Form::Form4);  // the one window without an owner
        delete form1;
    }
    QWidget* window(Form form) { return windows[static_cast<int>(form)]; }
    template <typename T = QWidget>
    T* in(Form form, const char* name) {
        return window(form)->findChild<T*>(name);
    }
    void trigger(const char* menu) { form1->findChild<QAction*>(menu)->trigger(); }

    QMainWindow* form1;
    std::array<QWidget*, kFormCount> windows;
    std::unique_ptr<Binder> binder;
};

}  // namespace treld::testing
