// The messages the fleet publishes under its topic prefix, and the Home
// Assistant discovery messages that make every value appear there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device/device_core.h"
#include "fleet/broker_link.h"

namespace treld {

// {"source1_l1_voltage":230,...,"sync_angle":2}; null for a blank field.
std::string measurementsJson(const DeviceCore& c);

// The station's name and page address (when given), the link and, once a
// status record was decoded, login, transfer path, fault texts and the alarm
// lamps by name.
std::string statusJson(const DeviceCore& c, std::string_view station = {},
                       std::string_view page = {});

// One PC event line: {"code":100,"time":"2026-12-05T14:05:00+01:00","text":"-Overload"};
// a recovered one (110) adds "recovered":true.
std::string eventJson(Int16 code, std::string_view text, const LocalDateTime& at);

// Retained config messages under homeassistant/ for every measurement, every
// alarm lamp and the link, all of the device named `station`.
std::vector<BrokerMessage> discoveryMessages(std::string_view prefix, std::string_view station);

}  // namespace treld
