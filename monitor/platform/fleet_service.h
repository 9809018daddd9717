// mqtt.cfg in the station directory starts what it asks for: the MQTT client
// and the web endpoint (the page, the board, the read API and /metrics). No file,
// nothing runs. A bad file or an endpoint that cannot listen is said in the
// status line and on stderr; polling goes on either way.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "conductor/monitor.h"
#include "platform/board_web.h"
#include "platform/mqtt_client.h"
#include "platform/qt_platform.h"
#include "platform/station_web.h"

namespace treld {

class FleetService {
  public:
    // Before Monitor::start(), so the start-up event is published too.
    FleetService(QtPlatform& platform, Monitor& monitor, const std::filesystem::path& stationDir);

  private:
    void complain(Monitor& monitor, const std::string& text);

    std::unique_ptr<MqttClient> mqtt_;
    // The board's stream outlives the server that holds its viewers.
    std::unique_ptr<BoardWeb> board_;
    std::unique_ptr<StationWeb> web_;
    QString lastReason_;
};

}  // namespace treld
