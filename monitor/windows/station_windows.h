// All windows of one monitor, built hidden and bound to its display model:
// the one place that knows which windows there are and who owns them.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "windows/binder.h"

namespace treld {

struct StationWindows {
    explicit StationWindows(Monitor& monitor);
    ~StationWindows();

    QWidget* operator[](Form form) const { return windows[static_cast<int>(form)]; }

    // Form1 owns every other window but the Alarms window, which stands on
    // its own beside it.
    const std::unique_ptr<QMainWindow> form1;
    const std::unique_ptr<QWidget> form4;
    const std::array<QWidget*, kFormCount> windows;
    Binder binder;
};

}  // namespace treld
