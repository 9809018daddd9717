// treld-station: the headless station. It runs on a core application, with
// no widget, GUI or font library in the process; treld hands over to it when
// there is no display or --headless asks for it.
#include <QCoreApplication>
#include <cstdio>

#include "platform/command_line.h"
#include "platform/notify_test.h"
#include "platform/station.h"
#include "platform/station_dir.h"

int main(int argc, char** argv) {
    treld::StationOptions options;
    if (const std::optional<int> code = options.answer(argc, argv))
        return *code;
    const QCommandLineParser& parser = options.parser;
    QCoreApplication app(argc, argv);
    app.setApplicationName("ZID evevori");
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    // The test takes no lock: it may run beside the station it tests.
    if (parser.isSet(options.testNotify))
        return treld::runNotifyTest(
            programDir, treld::StationDir::chosen(parser.value(options.dir), programDir));
    QString problem;
    const auto stationDir = treld::StationDir::take(parser.value(options.dir), programDir, problem);
    if (!stationDir) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    treld::Station station(programDir, stationDir->path());
    return station.run({});
}
