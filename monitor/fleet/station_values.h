// What the fleet reads off the station, in one place for the JSON payloads,
// the discovery messages and the metrics: the panel values as numbers, the
// alarm flags by name, the fault texts, the link.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/device_core.h"
#include "link/panel_quantities.h"
#include "status/status_record.h"

namespace treld {

// What the outside world calls a kind of quantity.
struct QuantityFamily {
    QuantityKind kind;
    std::string_view metric;       // the Prometheus family
    std::string_view help;         // its HELP text
    std::string_view deviceClass;  // a Home Assistant device class, or ""
    // The unit as a dashboard wants it where that is a symbol rather than the
    // panel's letters (Home Assistant knows temperatures only in "°C"); "":
    // the quantity's own unit. Latin-1, like every text of the monitor.
    std::string_view unitSymbol;
};
std::span<const QuantityFamily> quantityFamilies();
const QuantityFamily& familyOf(const PanelQuantity& quantity);

// The unit as the payloads and the discovery messages give it.
std::string_view unitOf(const PanelQuantity& quantity);

// JSON key and discovery id: the title as a slug ("source1_l1_voltage").
std::string quantityKey(const PanelQuantity& quantity);

// The number of the latest reply in the quantity's unit; nothing before the
// first reply, after a time-out or for a field of anything but digits.
std::optional<double> measurementValue(const DeviceCore& c, const PanelQuantity& quantity);

// The fault-text fields under the panels, by JSON key.
struct FaultField {
    ElementName label;
    std::string_view key;
};
std::span<const FaultField> faultFields();

// An alarm lamp's name: its caption in the Alarms window as a slug
// ("Source2 BAD " gives "source2_bad").
std::string alarmName(const FlagPosition& lamp);

// Whether a status record was decoded yet: until then flags and login are unknown.
bool statusKnown(const DeviceCore& c);

// "Service Login", "User Login" or "Logout", as the window title says.
std::string_view loginState(const DecodedStatus& status);

struct LinkState {
    std::string_view kind;  // "serial", "remote" or "demo"
    std::string peer;       // "COM1", "host:port" or ""
    bool up;
};
LinkState linkState(const DeviceCore& c);

}  // namespace treld
