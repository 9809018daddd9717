// What a notification says, taken when its event happens, and how each kind
// of target is told it.
#pragma once

#include <string>
#include <vector>

#include "device/device_core.h"
#include "fleet/notify_settings.h"

namespace treld {

struct NotifyMessage {
    std::string station;
    Int16 code = 0;
    std::string text;
    std::string time;  // ISO 8601 with the offset
    bool recovered = false;
    bool urgent = false;              // a black-out or an overload
    std::vector<std::string> alarms;  // the alarm list of the station now
    int leftOut = 0;                  // earlier events of the target left out for this one
};

// The event as the station stands now (its alarm list).
NotifyMessage notifyMessage(const DeviceCore& c, std::string station, Int16 code,
                            std::string_view text, const LocalDateTime& at);

// The request a webhook, ntfy or heartbeat target gets.
OutgoingRequest notifyRequest(const NotifyTarget& target, const NotifyMessage& message);

// The environment of a COMMAND: target's program.
Pairs notifyEnvironment(const NotifyMessage& message);

}  // namespace treld
