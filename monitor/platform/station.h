// A station at work, windowed or headless: the platform, the monitor on its
// directories, SIGTERM/SIGINT/SIGHUP, and the fleet service from mqtt.cfg.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "conductor/monitor.h"
#include "platform/fleet_service.h"
#include "platform/qt_platform.h"
#include "platform/stop_signals.h"

namespace treld {

class Station {
  public:
    // Needs the application object; the fleet service starts here, before
    // the monitor, so its start-up event is published too.
    Station(const std::filesystem::path& programDir, const std::filesystem::path& stationDir);

    Monitor& monitor() { return monitor_; }

    // Starts the monitor and runs the event loop until the program ends;
    // `afterEvent` runs after each event (the windows redraw what changed).
    // Returns the exit code.
    int run(const std::function<void()>& afterEvent);

  private:
    const std::filesystem::path stationDir_;
    QtPlatform platform_;
    Monitor monitor_;
    StopSignals stopSignals_;
    std::unique_ptr<FleetService> fleet_;
};

}  // namespace treld
