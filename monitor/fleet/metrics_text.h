// The station in Prometheus's text exposition format, for /metrics.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "device/device_core.h"
#include "fleet/notifications.h"

namespace treld {

// How the MQTT publishing fares; absent when the station publishes nothing.
struct PublishingFigures {
    bool connected = false;
    std::size_t queued = 0;
    std::uint64_t published = 0;
    std::uint64_t droppedEvents = 0;
};

// Every measurement as a gauge labelled with `station` (and source and phase
// where they apply), the alarm flags, link up, the exchange and time-out
// counters, relay clients and mail programs started, the source feeding the
// load, the failed attempts of each notification target; blank fields and
// flags not yet decoded are left out.
std::string metricsText(const DeviceCore& c, std::string_view station,
                        const PublishingFigures* publishing,
                        const std::vector<TargetFigures>& notifying);

}  // namespace treld
