// treld: the STS monitor. Without a display it runs headless on Qt's
// offscreen platform; mqtt.cfg beside it adds fleet publishing and metrics.
#include <QApplication>
#include <QLockFile>
#include <QMainWindow>
#include <QMessageBox>
#include <cstdio>

#include "conductor/monitor.h"
#include "platform/fleet_service.h"
#include "platform/headless.h"
#include "platform/qt_platform.h"
#include "platform/stop_signals.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

int main(int argc, char** argv) {
    treld::chooseHeadlessWithoutDisplay();
    QApplication app(argc, argv);
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

    treld::QtPlatform platform;
    treld::Monitor monitor(platform, programDir);
    treld::StopSignals stopSignals;
    QObject::connect(&stopSignals, &treld::StopSignals::arrived,
                     [&platform] { platform.deliverEvent([](treld::Monitor& m) { m.stop(); }); });

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
