#include "station_rig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <fstream>
#include <sstream>
#include <thread>

#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::e2e {

StationRig::StationRig(const std::vector<std::string>& simulatorArguments,
                       const std::string& config) {
    dir.write("sts.cfg", config);
    const std::string line = (dir.path() / "sts-line").string();
    std::vector<std::string> arguments = {"--link", line, "--trace",
                                          (dir.path() / "trace.txt").string()};
    arguments.insert(arguments.end(), simulatorArguments.begin(), simulatorArguments.end());
    simulator.emplace(builtProgramDir() / "sts-sim", arguments);
    for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    qputenv("TRELD_COM1", QByteArray::fromStdString(line));

    monitor = std::make_unique<Monitor>(platform, dir.path());
    form1 = buildMainWindow();
    windows = {form1,
               buildSettingsDialog(form1),
               buildLoginDialog(form1),
               buildAlarmsWindow(),
               buildAboutWindow(form1),
               buildTrendsWindow(form1, monitor->trends())};
    binder = std::make_unique<Binder>(*monitor, windows);
    platform.attach(monitor.get(), [this] { binder->flush(); });
    binder->bindAll();
    form1->show();
    monitor->start();
    binder->flush();
}

StationRig::~StationRig() {
    platform.attach(nullptr, {});
    binder.reset();
    delete windows[static_cast<int>(Form::Form4)];
    delete form1;
}

bool StationRig::waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void StationRig::wait(std::chrono::milliseconds time) {
    waitFor([] { return false; }, time);
}

std::vector<std::string> StationRig::simulatorReceived() const {
    std::vector<std::string> commands;
    for (const ReceivedCommand& command : e2e::simulatorReceived(dir.path() / "trace.txt"))
        commands.push_back(command.text);
    return commands;
}

}  // namespace treld::e2e
