// treld: the STS monitor. Without a display it runs headless on Qt's
// offscreen platform; mqtt.cfg beside it adds fleet publishing and metrics.
#include <QApplication>
#include <QMainWindow>

#include "conductor/monitor.h"
#include "platform/fleet_service.h"
#include "platform/headless.h"
#include "platform/qt_platform.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

int main(int argc, char** argv) {
    treld::chooseHeadlessWithoutDisplay();
    QApplication app(argc, argv);
    app.setApplicationName("ZID evevori");
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();

    treld::QtPlatform platform;
    treld::Monitor monitor(platform, programDir);

    QMainWindow* form1 = treld::buildMainWindow();
    const std::array<QWidget*, treld::kFormCount> windows = {
        form1,
        treld::buildSettingsDialog(form1),
        treld::buildLoginDialog(form1),
        treld::buildAlarmsWindow(),
        treld::buildAboutWindow(form1),
        treld::buildTrendsWindow(form1, monitor.trends())};
    treld::Binder binder(monitor, windows);
    platform.attach(&monitor, [&binder] { binder.flush(); });

    treld::FleetService fleet(platform, monitor, programDir);

    binder.bindAll();
    form1->show();
    monitor.start();
    binder.flush();
    const int code = app.exec();
    delete windows[static_cast<int>(treld::Form::Form4)];  // the one window without an owner
    delete form1;
    return code;
}
