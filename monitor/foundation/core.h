// Everything the monitor knows, shared by the procedures of every subsystem.
// Procedures are free functions that take the Core, as the one window of the
// program did: one thread, no locks, every variable lives as long as the program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "foundation/counters.h"
#include "foundation/decoded_status.h"
#include "foundation/device_state.h"
#include "foundation/display_model.h"
#include "foundation/mail_outbox.h"
#include "foundation/main_window.h"
#include "foundation/panel_readings.h"
#include "foundation/pc_event_log.h"
#include "foundation/platform.h"
#include "foundation/program_state.h"
#include "foundation/records_state.h"
#include "foundation/relay_state.h"
#include "foundation/station_config.h"
#include "foundation/status_line.h"

namespace treld {

class Line;  // link/line.h: the exchange on the line and its transport

struct Core {
    Core(Platform& platform, std::filesystem::path programDir, Line& line)
        : platform(platform), programDir(std::move(programDir)), line(line) {}
    Core(const Core&) = delete;  // the status line and the event log refer to its members

    Platform& platform;
    std::filesystem::path programDir;
    DisplayModel ui;
    StatusLine statusLine{ui, platform};
    PcEventLog pcEvents{platform, programDir, statusLine};
    ProgramState s;
    Line& line;
    RelayState relay;
    StationConfig config;
    DecodedStatus status;
    PanelReadings readings;
    OptionsState options;
    LoginState login;
    LogDownload log;
    SettingsState settings;
    Counters counters;
    MailOutbox mail;
    // The device command the operator is being asked to confirm; empty: none.
    std::string commandAsked;
    std::string commandAskedName;  // how the status line names its reply
    // The wait for a reply; the stored value stays as read.
    int replyTimeoutMs() const { return treld::replyTimeoutMs(config.ReplyTimeout); }

    // The mail program beside the monitor with `head` and `part` as its one
    // argument: at once, or when the copy that runs now ends (MailOutbox). A
    // program that cannot be started is passed over: the PC log holds the event.
    void startMailProgram(std::string head, std::string part = {}) {
        mail.add(std::move(head), std::move(part));
        startWaitingMail();
    }
    // A run that did not send keeps its alarm changes for the next message.
    void mailProgramEnded(int exitCode) {
        mail.ended(exitCode == kMailSent);
        counters.mailProgramsFailed += exitCode != kMailSent ? 1 : 0;
        startWaitingMail();
    }
    void startWaitingMail() {
        while (!mail.running()) {
            const std::optional<std::string> argument = mail.takeNext();
            if (!argument)
                return;
            if (platform.startWatchedProgram(mailProgramPath(), *argument)) {
                mail.started();
                ++counters.mailProgramsStarted;
            }
        }
    }
    std::string mailProgramPath() const { return (programDir / kMailProgram).string(); }

    // The tab of SSTab1 that the operator has open.
    int selectedTab() { return ui(kTabs).listIndex(); }
};

}  // namespace treld
