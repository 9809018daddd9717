// The station's web endpoint (mqtt.cfg METRICS:): the page, its assets, the
// read API under /api/v1/, its live stream and /metrics, all routed in one
// place. It is given read-only views only (the feed, the metrics page, the
// files' folder), so nothing reachable over HTTP can send to the device.
#pragma once

#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>

#include "fleet/station_feed.h"
#include "foundation/relay_access.h"
#include "platform/event_stream.h"
#include "platform/http_server.h"

namespace treld {

struct StationSite {
    const StationFeed& feed;
    std::function<std::string()> metrics;
    std::filesystem::path stationDir;  // SERLOGS and TRENDS under it
    const RelayAccess& access;         // its READ: rules decide who may read
};

class StationWeb {
  public:
    explicit StationWeb(StationSite site);

    bool listen(const QString& address, int port);
    HttpServer& server() { return server_; }

    // How often the state is compared with the one last sent while viewers
    // watch: a reply reaches them within this time of being decoded.
    static constexpr int kWatchMs = 100;

  private:
    void watch();

    StationSite site_;
    EventStream live_;
    QTimer watch_;
    std::string lastState_;
    HttpServer server_;
};

}  // namespace treld
