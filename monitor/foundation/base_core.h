// What every layer of the core shares: the platform, the display model with
// its one status-line writer, the PC event writer, the station's
// configuration and the counters. Each layer's core extends the one below it
// with the state that layer owns (link/link_core.h, records/records_core.h,
// status/status_core.h, device/device_core.h, and the conductor's Core), so a
// procedure reaches its own layer's state and what lies beneath, never above.
// One thread, no locks: every part lives as long as the program.
#pragma once

#include <filesystem>

#include "foundation/counters.h"
#include "foundation/display_model.h"
#include "foundation/main_window.h"
#include "foundation/pc_event_log.h"
#include "foundation/platform.h"
#include "foundation/station_config.h"
#include "foundation/status_line.h"

namespace treld {

struct BaseCore {
    BaseCore(Platform& platform, std::filesystem::path programDir, std::filesystem::path stationDir)
        : platform(platform),
          programDir(std::move(programDir)),
          stationDir(std::move(stationDir)) {}
    BaseCore(const BaseCore&) = delete;  // the status line and the event log refer to its members

    Platform& platform;
    // The programs and what they only read (the demo table, the guide) lie in
    // programDir; everything the station configures or writes in stationDir.
    std::filesystem::path programDir;
    std::filesystem::path stationDir;
    DisplayModel ui;
    StatusLine statusLine{ui, platform};
    PcEventLog pcEvents{platform, stationDir, statusLine};
    StationConfig config;
    Counters counters;

    // The wait for a reply; the stored value stays as read.
    int replyTimeoutMs() const { return treld::replyTimeoutMs(config.ReplyTimeout); }

    // The tab of SSTab1 that the operator has open.
    int selectedTab() { return ui(kTabs).listIndex(); }
};

}  // namespace treld
