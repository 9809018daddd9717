// Everything the monitor knows, shared by the procedures of every subsystem.
// Procedures are free functions that take the Core, as the one window of the
// program did: one thread, no locks, every variable lives as long as the program.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/counters.h"
#include "foundation/decoded_status.h"
#include "foundation/device_state.h"
#include "foundation/display_model.h"
#include "foundation/main_window.h"
#include "foundation/panel_readings.h"
#include "foundation/platform.h"
#include "foundation/program_state.h"
#include "foundation/records_state.h"
#include "foundation/relay_state.h"
#include "foundation/station_config.h"

namespace treld {

// Receive buffers never grow beyond this; a device or peer that streams
// without a CR loses the overflow and its exchange times out.
inline constexpr std::size_t kReceiveLimit = 4096;

struct Core {
    Core(Platform& platform, std::filesystem::path programDir)
        : platform(platform), programDir(std::move(programDir)) {}

    Platform& platform;
    std::filesystem::path programDir;
    DisplayModel ui;
    ProgramState s;
    RelayState relay;
    StationConfig config;
    DecodedStatus status;
    PanelReadings readings;
    OptionsState options;
    LoginState login;
    LogDownload log;
    SettingsState settings;
    Counters counters;
    // The device command the operator is being asked to confirm; empty: none.
    std::string commandAsked;
    // Told of every PC event line, written to its file or not (the fleet
    // publishes it); may be empty.
    std::function<void(Int16 code, std::string_view text, const LocalDateTime& at)> pcLogEvent;

    // The wait for a reply. A configured time-out of 0 or less would wait
    // for ever, so 1000 ms stands in for it; the stored value stays as read.
    int replyTimeoutMs() const { return config.ReplyTimeout > 0 ? config.ReplyTimeout : 1000; }

    // The mail program beside the monitor with its one argument, counted.
    bool startMailProgram(const std::string& argument) {
        const bool started = platform.startProgram((programDir / kMailProgram).string(), argument);
        counters.mailProgramsStarted += started ? 1 : 0;
        return started;
    }

    // The tab of SSTab1 that the operator has open.
    int selectedTab() { return ui(kTabs).listIndex(); }
};

}  // namespace treld
