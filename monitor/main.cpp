// treld: the STS monitor. Without a display it runs headless on Qt's
// offscreen platform; mqtt.cfg beside it adds fleet publishing and metrics.
// It takes no arguments but --help, --version and --test-notify.
#include <QApplication>
#include <QHostInfo>
#include <QLockFile>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <memory>

#include "conductor/monitor.h"
#include "platform/command_line.h"
#include "platform/fleet_service.h"
#include "platform/headless.h"
#include "platform/notify_test.h"
#include "platform/qt_platform.h"
#include "platform/stop_signals.h"
#include "windows/station_windows.h"

int main(int argc, char** argv) {
    bool testNotify = false;
    if (const std::optional<int> code = treld::answerCommandLine(
            argc, argv,
            "Monitoring and control station for a static transfer switch: polls the STS on "
            "COMPORT: of sts.cfg beside the program (or a remote station, or demo answers).\n"
            "Without a display it runs headless.",
            &testNotify))
        return *code;
    if (testNotify)
        return treld::runNotifyTest(argc, argv);
    treld::allowHeadlessFallback();
    QApplication app(argc, argv);
    treld::sayWhenHeadless();
    app.setApplicationName("ZID evevori");
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();

    // One monitor per program directory: a second one would poll the same
    // device and append to the same files. The lock goes with a clean end;
    // one left by a crash is taken over, its process being gone.
    QLockFile lock(QString::fromStdString((programDir / "treld.lock").string()));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        const QString text = QStringLiteral("Another monitor runs from %1; this one ends.")
                                 .arg(QString::fromStdString(programDir.string()));
        std::fprintf(stderr, "%s\n", qPrintable(text));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::warning(nullptr, app.applicationName(), text);
        return 1;
    }

    // A file-size limit fails the write (the line is kept for later) instead of ending us.
    std::signal(SIGXFSZ, SIG_IGN);
    treld::QtPlatform platform;
    treld::Monitor monitor(platform, programDir);
    treld::StopSignals stopSignals;
    QObject::connect(&stopSignals, &treld::StopSignals::arrived,
                     [&platform] { platform.deliverEvent([](treld::Monitor& m) { m.stop(); }); });

    treld::StationWindows windows(monitor);
    platform.attach(&monitor, [&windows] { windows.binder.flush(); });

    auto fleet = std::make_unique<treld::FleetService>(platform, monitor, programDir);
    // SIGHUP: the optional files again; the broker client and the metrics
    // endpoint start anew from mqtt.cfg, the old ones gone first.
    QObject::connect(&stopSignals, &treld::StopSignals::hangUp, [&] {
        platform.deliverEvent([](treld::Monitor& m) { m.rereadOptionalFiles(); });
        monitor.stopFleet();
        fleet.reset();
        fleet = std::make_unique<treld::FleetService>(platform, monitor, programDir);
    });

    monitor.startNotifications(QHostInfo::localHostName().toStdString());

    windows.binder.bindAll();
    windows.form1->show();
    monitor.start();
    windows.binder.flush();
    const int code = app.exec();
    // The monitor and the windows go first: connections the platform still
    // holds (relay and remote clients) close without telling them.
    platform.attach(nullptr, {});
    return code;
}
