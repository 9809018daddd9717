#include "platform/fleet_service.h"

#include <QHostInfo>
#include <cstdio>

namespace treld {

FleetService::FleetService(QtPlatform& platform, Monitor& monitor,
                           const std::filesystem::path& stationDir) {
    std::string error;
    const std::optional<FleetSettings> settings =
        readFleetSettingsFile(stationDir / "mqtt.cfg", error);
    if (!settings) {
        if (!error.empty())
            complain(monitor, error);
        return;
    }
    std::error_code failed;
    if (!settings->caFile.empty() && !std::filesystem::is_regular_file(settings->caFile, failed)) {
        complain(monitor, "mqtt.cfg: CAFILE is not a file: " + settings->caFile);
        return;
    }
    if (!settings->host.empty()) {
        mqtt_ = std::make_unique<MqttClient>(*settings);
        QObject::connect(mqtt_.get(), &MqttClient::connected, [&platform] {
            platform.deliverEvent([](Monitor& m) { m.fleet()->onBrokerConnected(); });
        });
        QObject::connect(mqtt_.get(), &MqttClient::delivered, [&platform](int id) {
            platform.deliverEvent([id](Monitor& m) { m.fleet()->onBrokerDelivered(id); });
        });
        QObject::connect(mqtt_.get(), &MqttClient::received,
                         [&platform](const QByteArray& topic, const QByteArray& payload,
                                     bool retained, quint64 dropped) {
                             platform.deliverEvent([=](Monitor& m) {
                                 m.fleet()->onBrokerMessage(
                                     topic.toStdString(), payload.toStdString(), retained, dropped);
                             });
                         });
        QObject::connect(mqtt_.get(), &MqttClient::lost, [this, &platform](const QString& reason) {
            // Said again only when the reason changes, not at every retry.
            if (reason != lastReason_) {
                std::fprintf(stderr, "MQTT: disconnected: %s\n", qPrintable(reason));
                lastReason_ = reason;
            }
            platform.deliverEvent([](Monitor& m) { m.fleet()->onBrokerLost(); });
        });
    }
    Fleet& fleet =
        monitor.startFleet(*settings, QHostInfo::localHostName().toStdString(), mqtt_.get());
    if (settings->metricsPort == 0)
        return;
    web_ = std::make_unique<StationWeb>(StationSite{fleet.station(),
                                                    [&fleet] { return fleet.metrics(); },
                                                    stationDir, monitor.core().relay.access});
    if (const FleetBoard* board = fleet.board()) {
        board_ = std::make_unique<BoardWeb>(web_->server(), *board,
                                            [&platform] { return platform.now().epochSeconds; });
    }
    if (!web_->listen(QString::fromStdString(settings->metricsAddress), settings->metricsPort)) {
        complain(monitor, "Metrics: cannot listen on " + settings->metricsAddress + ":" +
                              std::to_string(settings->metricsPort));
        board_.reset();
        web_.reset();
    }
}

void FleetService::complain(Monitor& monitor, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    monitor.statusLine().say(Said::FleetProblem, {text});
}

}  // namespace treld
