// treld: the STS monitor. Without a display it runs headless on Qt's
// offscreen platform; mqtt.cfg beside it adds fleet publishing and metrics.
// It takes no arguments but --help and --version.
#include <QApplication>

#include "conductor/monitor.h"
#include "platform/command_line.h"
#include "platform/fleet_service.h"
#include "platform/headless.h"
#include "platform/qt_platform.h"
#include "windows/station_windows.h"

int main(int argc, char** argv) {
    if (const std::optional<int> code = treld::answerCommandLine(
            argc, argv,
            "Monitoring and control station for a static transfer switch: polls the STS on "
            "COMPORT: of sts.cfg beside the program (or a remote station, or demo answers).\n"
            "Without a display it runs headless."))
        return *code;
    treld::allowHeadlessFallback();
    QApplication app(argc, argv);
    treld::sayWhenHeadless();
    app.setApplicationName("ZID evevori");
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();

    treld::QtPlatform platform;
    treld::Monitor monitor(platform, programDir);

    treld::StationWindows windows(monitor);
    platform.attach(&monitor, [&windows] { windows.binder.flush(); });

    treld::FleetService fleet(platform, monitor, programDir);

    windows.binder.bindAll();
    windows.form1->show();
    monitor.start();
    windows.binder.flush();
    return app.exec();
}
