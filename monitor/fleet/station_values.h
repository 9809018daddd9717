// What the fleet reads off the station, in one place for the JSON payloads,
// the discovery messages and the metrics: the panel values as numbers, the
// alarm flags by name, the fault texts, the link.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "foundation/core.h"
#include "status/status_record.h"

namespace treld {

struct MeasurementField {
    std::string_view label;        // the panel field of Form1
    std::string_view key;          // JSON key and discovery id
    std::string_view title;        // the name a dashboard shows
    std::string_view metric;       // Prometheus family
    std::string_view source;       // "1", "2" or "" (label `source`)
    std::string_view phase;        // "L1".."L3" or "" (label `phase`)
    std::string_view unit;         // Latin-1, like every text of the monitor
    std::string_view deviceClass;  // a Home Assistant device class, or ""
    double divisor;                // the field counts tenths of a hertz, say
};

std::span<const MeasurementField> measurementFields();

// The field's digits up to the unit the panel adds, divided; nothing while
// the field is blank (after a time-out) or holds anything but digits.
std::optional<double> measurementValue(Core& c, const MeasurementField& field);

// The fault-text fields under the panels, by JSON key.
struct FaultField {
    std::string_view label;
    std::string_view key;
};
std::span<const FaultField> faultFields();

// An alarm lamp's name: its caption in the Alarms window as a slug
// ("Source2 BAD " gives "source2_bad").
std::string alarmName(const FlagPosition& lamp);

// Whether a status record was decoded yet: until then flags and login are unknown.
bool statusKnown(const Core& c);

// "Service Login", "User Login" or "Logout", as the window title says.
std::string_view loginState(const DecodedStatus& status);

struct LinkState {
    std::string_view kind;  // "serial", "remote" or "demo"
    std::string peer;       // "COM1", "host:port" or ""
    bool up;
};
LinkState linkState(const Core& c);

// Relay clients holding a connection slot now.
int relayClients(const Core& c);

}  // namespace treld
