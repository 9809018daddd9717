// treld: the STS monitor with its windows. Without a display, or with
// --headless, it hands over to treld-station, the same station without
// windows; mqtt.cfg in the station's directory adds fleet publishing and metrics.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "platform/command_line.h"
#include "platform/station.h"
#include "platform/station_dir.h"
#include "windows/headless.h"
#include "windows/station_windows.h"

int main(int argc, char** argv) {
    treld::StationOptions options;
    if (const std::optional<int> code = options.answer(argc, argv))
        return *code;
    const QCommandLineParser& parser = options.parser;
    // A notification test needs no window: the headless station runs it.
    treld::handOverWhenHeadless(argv,
                                parser.isSet(options.headless) || parser.isSet(options.testNotify));
    QApplication app(argc, argv);
    treld::handOverWhenDisplayFailed(argv);
    app.setApplicationName("ZID evevori");
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    QString problem;
    const auto stationDir = treld::StationDir::take(parser.value(options.dir), programDir, problem);
    if (!stationDir) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::warning(nullptr, app.applicationName(), problem);
        return 1;
    }

    treld::Station station(programDir, stationDir->path());
    treld::StationWindows windows(station.monitor());
    windows.binder.bindAll();
    windows.form1->show();
    return station.run([&windows] { windows.binder.flush(); });
}
