// What the station's web page, its read API and its live stream show: the
// fleet's payloads (the same names and units) with the station's name, since
// when the link is as it is, the schematic as the main window draws it and
// the latest PC events. It holds the core read-only: nothing built here can
// act on the device.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "device/device_core.h"

namespace treld {

// The latest PC events the page lists.
inline constexpr std::size_t kRecentEvents = 20;

class StationFeed {
  public:
    StationFeed(const DeviceCore& c, std::string hostName);

    // Every PC event line, as the fleet is told of it.
    void event(Int16 code, std::string_view text, const LocalDateTime& at);

    // sts.cfg's station name, else the host's.
    std::string name() const;
    // {"station":..,"link_since":..,"status":{the status payload}}
    std::string statusJson() const;
    // {"measurements":{the measurements payload},"units":{key: unit}}
    std::string measurementsJson() const;
    // The stream's state: station, link_since, status, measurements, the
    // schematic's elements shown ({"Line1":true,...}) and the latest events.
    std::string stateJson() const;

  private:
    std::string head() const;  // the members every answer starts with

    const DeviceCore& c_;
    std::string hostName_;
    std::deque<std::string> recent_;  // event payloads, oldest first
    std::string linkSince_ = "null";  // JSON: the time of the latest start, loss or return
};

// What never changes: the schematic's lines and switches with their colours
// and places, the alarm lamps with their captions, the quantities with their
// titles and units.
std::string layoutJson();

}  // namespace treld
