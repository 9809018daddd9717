// The whole monitor in this process (real Qt platform, real windows, offscreen)
// against the real sts-sim on a pseudo-terminal: for what only the operator's
// clicks can start.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "conductor/monitor.h"
#include "e2e_support.h"
#include "platform/qt_platform.h"
#include "windows/binder.h"

namespace treld::e2e {

class StationRig {
  public:
    // Starts sts-sim with `simulatorArguments` and the monitor on its line.
    explicit StationRig(const std::vector<std::string>& simulatorArguments = {},
                        const std::string& config = "COMPORT:1\r\nTIMEOUT:500\r\n");
    ~StationRig();

    // Runs the event loop until `done` holds or `limit` has passed.
    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);
    void wait(std::chrono::milliseconds time);

    template <typename T>
    T* widget(Form form, const char* name) {
        return qobject_cast<T*>(binder->find(form, name));
    }
    // Commands the simulator received so far, from its trace.
    std::vector<std::string> simulatorReceived() const;

    ProgramDir dir;
    std::optional<Process> simulator;
    QtPlatform platform;
    std::unique_ptr<Monitor> monitor;
    QMainWindow* form1 = nullptr;
    std::array<QWidget*, kFormCount> windows{};
    std::unique_ptr<Binder> binder;
};

}  // namespace treld::e2e
