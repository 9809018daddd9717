// treld_screenshot: pictures of the monitor for the documentation. Builds the
// real windows offscreen, plays one measurement cycle of an STS in a fault
// (source 1 black-out, load on source 2, output switch open) through the
// monitor's poll cycle, and saves the main window and the Alarms window.
#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextStream>
#include <map>

#include "conductor/monitor.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace {

// A serial line that records what the monitor writes and a relay port that
// opens; nothing else answers. The clock stands still, so the pictures do not
// change from run to run.
class StillPlatform : public treld::Platform {
  public:
    std::string written;

    void startTimer(treld::TimerId, int) override {}
    void stopTimer(treld::TimerId) override {}
    bool openSerialPort(int) override { return true; }
    bool writeSerial(std::string_view text) override {
        written = text;
        return true;
    }
    void connectRemote(const std::string&, int) override {}
    void sendRemote(std::string_view) override {}
    void closeRemote() override {}
    bool listenRelay(int) override { return true; }
    bool acceptRelay(int) override { return false; }
    bool sendRelay(int, std::string_view) override { return false; }
    void closeRelay(int) override {}
    bool startProgram(const std::string&, const std::string&) override { return false; }
    treld::LocalDateTime now() override {
        return {2026, 12, 5, 14, 5, 10, "05.12.2026", "14:05:10"};
    }
    void exitProgram() override {}
};

const std::map<std::string, std::string> kFaultAnswers = {
    {"SRV\r", "#000 000 000 231 230 229 0000 0500\r"},
    {"OPL\r", "#000 000 000 000 000 000 035 002\r"},
    {"SST\r", "#000\r"},
    // as the simulator reports it: source 1 black-out and bad, synchron bad,
    // transfer inhibited, output bad and its switch off; source 2 in use
    {"SAS\r", "#00010000 00000000 10100100 00100001 10000\r"},
    {"FIR\r", "STS V2.07\r"},
    {"CLK\r", "#14:05:10\r"},
    {"DAT\r", "#05/12/26\r"},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        QTextStream(stderr) << "usage: treld_screenshot MAIN.png [ALARMS.png]\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir programDir;  // the monitor's files go nowhere that matters

    StillPlatform platform;
    treld::Monitor monitor(platform, programDir.path().toStdString());
    QMainWindow* form1 = treld::buildMainWindow();
    const std::array<QWidget*, treld::kFormCount> windows = {
        form1, treld::buildSettingsDialog(form1), treld::buildLoginDialog(form1),
        treld::buildAlarmsWindow(), treld::buildAboutWindow(form1)};
    treld::Binder binder(monitor, windows);
    binder.bindAll();
    monitor.start();
    monitor.click(treld::kAlarmsMenu.form, treld::kAlarmsMenu.name);

    // Each command is answered at once; the next tick evaluates the answer.
    for (int tick = 0; tick < 14; ++tick) {
        platform.written.clear();
        monitor.onTimer(treld::TimerId::Timer1);
        const auto answer = kFaultAnswers.find(platform.written);
        if (answer != kFaultAnswers.end())
            monitor.onSerialData(answer->second);
    }
    binder.flush();

    bool saved = form1->grab().save(argv[1]);
    if (argc == 3)
        saved = windows[static_cast<int>(treld::Form::Form4)]->grab().save(argv[2]) && saved;
    delete windows[static_cast<int>(treld::Form::Form4)];
    delete form1;
    return saved ? 0 : 1;
}
