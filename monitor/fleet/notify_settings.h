// notify.cfg beside the station's files: where events and the heartbeat go.
// Lines of "KEY:value" as in sts.cfg. A target line opens a target; the
// TOKEN:, EVENTS: and INTERVAL: lines below it belong to it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/numeric.h"

namespace treld {

// The kinds of PC event a target may be sent, as EVENTS: names them.
enum EventKinds : unsigned {
    kAlarmEvents = 1,      // "alarms": 100
    kLinkEvents = 2,       // "link": 200, 201
    kRecoveredEvents = 4,  // "recovered": 110
    kProgramEvents = 8,    // "program": 1, 2
    kAllEvents = 15,
};

// The kind of a PC event code; 0 for those never notified (the relay's).
unsigned eventKind(Int16 code);

struct NotifyTarget {
    enum class Kind { Webhook, Ntfy, Command, Heartbeat };
    Kind kind = Kind::Webhook;
    std::string address;  // the URL, or the program
    std::string token;    // TOKEN: of an ntfy target
    unsigned events = kAllEvents;
    int intervalSeconds = 60;  // INTERVAL: of the heartbeat
};

struct NotifySettings {
    std::vector<NotifyTarget> targets;  // in the file's order
    std::string caFile;                 // CAFILE: for every https target
};

// The settings of a notify.cfg text; each line not understood adds a text
// naming it to `problems` and is skipped.
NotifySettings readNotifySettings(std::string_view text, std::vector<std::string>& problems);

// The same of the file; no file: no targets and no problem. A COMMAND: that
// is no absolute path is taken from `dir`.
NotifySettings readNotifySettingsFile(const std::filesystem::path& dir,
                                      std::vector<std::string>& problems);

}  // namespace treld
