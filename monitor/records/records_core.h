// The records layer's state: the device log download, the Settings dialog
// and the mail waiting for the mail program.
#pragma once

#include <optional>
#include <string>

#include "link/link_core.h"
#include "records/log_recovery.h"
#include "records/mail_outbox.h"
#include "records/records_state.h"

namespace treld {

struct RecordsCore : LinkCore {
    using LinkCore::LinkCore;

    LogDownload log;
    SettingsState settings;
    MailOutbox mail;
    LogRecovery recovery;

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
};

}  // namespace treld
