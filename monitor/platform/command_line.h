// The command line of the Qt programs: --help and --version, answered before
// any window opens, so they work without a display too, and the options a
// program adds (treld's --headless and --dir).
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <optional>

namespace treld {

// Prints the help or the version on stdout, or what is wrong with the
// command line on stderr. Returns the exit code to end with then, nothing
// when the program goes on; `parser` holds the program's own options, set
// before and read after.
std::optional<int> answerCommandLine(int argc, char** argv, const QString& description,
                                     QCommandLineParser& parser);

// The monitor's options, the same for the windowed program and the headless station.
struct StationOptions {
    StationOptions() { parser.addOptions({headless, dir, testNotify}); }

    // answerCommandLine with these options; read them with `parser` after.
    std::optional<int> answer(int argc, char** argv) {
        return answerCommandLine(argc, argv, kDescription, parser);
    }

    static constexpr const char* kDescription =
        "Monitoring and control station for a static transfer switch: polls the STS on "
        "COMPORT: of the station's sts.cfg (or a remote station, or demo answers).\n"
        "Without a display, or with --headless, it runs headless: no windows, the same "
        "polling, files, mail, relay and fleet publishing.";
    const QCommandLineOption headless{"headless", "Runs without windows, even on a display."};
    const QCommandLineOption dir{
        "dir",
        "The station's directory: sts.cfg, SERLOGS/, TRENDS/, the lock, relay.cfg, mqtt.cfg and "
        "the mail log (default: $TRELD_DIR, else the program's own).",
        "DIR"};
    const QCommandLineOption testNotify{
        "test-notify",
        "Sends a test event to every target of the station's notify.cfg, prints what each "
        "answered and ends (exit code 0 when all delivered)."};
    QCommandLineParser parser;
};

}  // namespace treld
