#include "windows/station_windows.h"

#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld {

StationWindows::StationWindows(Monitor& monitor)
    : form1(buildMainWindow()),
      form4(buildAlarmsWindow()),
      windows{form1.get(),
              buildSettingsDialog(form1.get()),
              buildLoginDialog(form1.get()),
              form4.get(),
              buildAboutWindow(form1.get()),
              buildTrendsWindow(form1.get(), monitor.trends(), monitor.core().config),
              buildHelpWindow(form1.get(), monitor.core().programDir)},
      binder(monitor, windows) {}

StationWindows::~StationWindows() = default;

}  // namespace treld
