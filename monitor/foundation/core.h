// Everything the monitor knows, shared by the procedures of every subsystem.
// Procedures are free functions that take the Core, as the one window of the
// program did: one thread, no locks, every variable lives as long as the program.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/counters.h"
#include "foundation/decoded_status.h"
#include "foundation/device_state.h"
#include "foundation/display_model.h"
#include "foundation/mail_outbox.h"
#include "foundation/main_window.h"
#include "foundation/panel_readings.h"
#include "foundation/platform.h"
#include "foundation/program_state.h"
#include "foundation/records_state.h"
#include "foundation/relay_state.h"
#include "foundation/station_config.h"

namespace treld {

class Line;  // link/line.h: the exchange on the line and its transport

struct Core {
    Core(Platform& platform, std::filesystem::path programDir, Line& line)
        : platform(platform), programDir(std::move(programDir)), line(line) {}

    Platform& platform;
    std::filesystem::path programDir;
    DisplayModel ui;
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
    // Told of every PC event line, written to its file or not (the fleet
    // publishes it); may be empty.
    std::function<void(Int16 code, std::string_view text, const LocalDateTime& at)> pcLogEvent;
    // Writes a PC event line: the link, below the records, reaches the
    // writer through this (set by the Monitor).
    std::function<void(Int16 code, std::string text)> writePcEvent;

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

    // A replaced setting or a skipped file, said once: on stderr and in the
    // status line, where "Data OK" leaves it for kNoticeSeconds (showDataOk).
    // Notices of the same moment are joined.
    static constexpr std::int64_t kNoticeSeconds = 10;
    void notice(const std::string& text) {
        platform.writeStderr(text);
        Element& line = ui(kStatusLine);
        line.setCaption(noticeShown() ? line.caption() + " | " + text : text);
        noticeText = line.caption();
        noticeUntil = platform.now().epochSeconds + kNoticeSeconds;
    }
    bool noticeShown() {
        return !noticeText.empty() && ui(kStatusLine).caption() == noticeText &&
               platform.now().epochSeconds < noticeUntil;
    }
    std::string noticeText;
    std::int64_t noticeUntil = 0;

    // The tab of SSTab1 that the operator has open.
    int selectedTab() { return ui(kTabs).listIndex(); }
};

}  // namespace treld
