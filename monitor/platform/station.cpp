#include "platform/station.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <csignal>

namespace treld {

Station::Station(const std::filesystem::path& programDir, const std::filesystem::path& stationDir)
    : stationDir_(stationDir), monitor_(platform_, programDir, stationDir) {
    // A file-size limit fails the write (the line is kept for later) instead of ending us.
    std::signal(SIGXFSZ, SIG_IGN);
    QObject::connect(&stopSignals_, &StopSignals::arrived,
                     [this] { platform_.deliverEvent([](Monitor& m) { m.stop(); }); });
    fleet_ = std::make_unique<FleetService>(platform_, monitor_, stationDir_);
    // SIGHUP: the optional files again; the broker client and the metrics
    // endpoint start anew from mqtt.cfg, the old ones gone first.
    QObject::connect(&stopSignals_, &StopSignals::hangUp, [this] {
        platform_.deliverEvent([](Monitor& m) { m.rereadOptionalFiles(); });
        monitor_.stopFleet();
        fleet_.reset();
        fleet_ = std::make_unique<FleetService>(platform_, monitor_, stationDir_);
    });
    monitor_.startNotifications(QHostInfo::localHostName().toStdString());
}

int Station::run(const std::function<void()>& afterEvent) {
    platform_.attach(&monitor_, afterEvent);
    monitor_.start();
    if (afterEvent)
        afterEvent();
    const int code = QCoreApplication::exec();
    // The monitor and the windows go first: connections the platform still
    // holds (relay and remote clients) close without telling them.
    platform_.attach(nullptr, {});
    return code;
}

}  // namespace treld
