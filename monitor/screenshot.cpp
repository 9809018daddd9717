// treld_screenshot: pictures of the monitor for the documentation. Builds the
// real windows offscreen, plays one measurement cycle of an STS in a fault
// (source 1 black-out, load on source 2, output switch open) through the
// monitor's poll cycle, and saves the main window and the Alarms window.
// With --night it plays a scenario of the simulator through the poll cycle
// in virtual time instead, six hours from midnight, and saves the Trends
// window.
#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextStream>
#include <fstream>
#include <map>

#include "device.h"
#include "scenario.h"

#include "conductor/monitor.h"
#include "windows/binder.h"
#include "windows/station_windows.h"
#include "windows/trends_window.h"

namespace {

// A serial line that records what the monitor writes and a relay port that
// opens; nothing else answers. The clock moves only when the picture's play
// moves it, so the pictures do not change from run to run.
class StillPlatform : public treld::Platform {
  public:
    explicit StillPlatform(treld::LocalDateTime start) : start_(std::move(start)) {}

    std::string written;
    std::int64_t nowMs = 0;
    std::int64_t timer1DueMs = 0;
    std::int64_t timer1Ms = 50;

    void startTimer(treld::TimerId timer, int intervalMs) override {
        if (timer == treld::TimerId::Timer1) {
            timer1Ms = std::max(1, intervalMs);
            timer1DueMs = nowMs + timer1Ms;
        }
    }
    void stopTimer(treld::TimerId) override {}
    bool openSerialPort(int) override { return true; }
    void closeSerialPort() override {}
    bool writeSerial(std::string_view text) override {
        written = text;
        return true;
    }
    void connectRemote(const std::string&, int) override {}
    void sendRemote(std::string_view) override {}
    void closeRemote() override {}
    bool listenRelay(int, const std::string&) override { return true; }
    std::optional<std::string> acceptRelay(int) override { return std::nullopt; }
    bool sendRelay(int, std::string_view) override { return false; }
    void closeRelay(int) override {}
    bool startProgram(const std::string&, const std::string&) override { return false; }
    bool startWatchedProgram(const std::string&, const std::string&) override { return false; }
    // The pictures' monitor has no notify.cfg: nothing is ever delivered.
    void sendHttp(int, const treld::OutgoingRequest&) override {}
    void runProgram(int, const std::string&, const treld::Pairs&, int) override {}
    bool replaceFile(const std::filesystem::path&, std::string_view) override { return false; }
    // Local time is UTC here, as the tool's own time zone is.
    treld::LocalDateTime now() override {
        treld::LocalDateTime at = start_;
        at.epochSeconds += nowMs / 1000;
        const std::int64_t second = at.epochSeconds % 86400;
        at.hour = int(second / 3600);
        at.minute = int(second / 60 % 60);
        at.second = int(second % 60);
        return at;
    }
    void writeStderr(std::string_view) override {}
    void exitProgram() override {}

  private:
    treld::LocalDateTime start_;
};

// 2026-12-05 in seconds since 1970.
constexpr std::int64_t kPictureDay = 1796428800;
constexpr std::int64_t kNightMs = 6 * 3600 * 1000;
constexpr std::int64_t kReplyMs = 70;  // a reply's way over the line at 2400 baud

// The simulated STS answers each command kReplyMs after it went out, unless
// the scenario has silenced it; TrendTimer ticks every second.
void playNight(treld::Monitor& monitor, StillPlatform& platform, const sts::Scenario& scenario) {
    sts::DeviceSetup setup;
    setup.clockStart = {2026, 12, 5, 0, 0, 0};
    sts::Device device(setup, 0);
    sts::LinkFaults faults;
    sts::ScenarioPlayer player(scenario, 0);
    std::int64_t nextTrendTick = 1000;
    while (platform.nowMs < kNightMs) {
        for (; nextTrendTick <= platform.timer1DueMs; nextTrendTick += 1000) {
            platform.nowMs = nextTrendTick;
            monitor.onTimer(treld::TimerId::TrendTimer);
        }
        platform.nowMs = platform.timer1DueMs;
        platform.timer1DueMs += platform.timer1Ms;  // a periodic timer, unless the tick restarts it
        player.run(platform.nowMs, device.plant(), faults);
        device.advance(platform.nowMs);
        platform.written.clear();
        monitor.onTimer(treld::TimerId::Timer1);
        if (platform.written.empty() || faults.silent)
            continue;
        const std::string command = platform.written.substr(0, platform.written.find('\r'));
        if (const auto reply = device.handle(command, platform.nowMs)) {
            platform.nowMs += kReplyMs;
            monitor.onSerialData(*reply);
        }
    }
}

std::optional<sts::Scenario> readScenario(const char* path) {
    std::ifstream file(path);
    std::string error;
    auto scenario = sts::parseScenario(file, error);
    if (!file.is_open() || !scenario) {
        QTextStream(stderr) << "treld_screenshot: scenario " << path << ": "
                            << QString::fromStdString(error) << "\n";
    }
    return scenario;
}

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
    const bool night = argc == 4 && std::string_view(argv[1]) == "--night";
    if (!night && (argc < 2 || argc > 3)) {
        QTextStream(stderr) << "usage: treld_screenshot MAIN.png [ALARMS.png]\n"
                               "       treld_screenshot --night SCENARIO TRENDS.png\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    QApplication app(argc, argv);
    QTemporaryDir programDir;  // the monitor's files go nowhere that matters
    std::ofstream(programDir.filePath("sts.cfg").toStdString())
        << "COMPORT:1\r\nSNAME:Substation North\r\n";

    StillPlatform platform(
        night ? treld::LocalDateTime{2026, 12, 5, 0, 0, 0, "05.12.2026", "00:00:00", kPictureDay}
              : treld::LocalDateTime{2026, 12, 5, 14, 5, 10, "05.12.2026", "14:05:10",
                                     kPictureDay + 50710});
    treld::Monitor monitor(platform, programDir.path().toStdString());
    treld::StationWindows windows(monitor);
    treld::Binder& binder = windows.binder;
    binder.bindAll();
    monitor.start();

    bool saved = false;
    QWidget* trends = windows[treld::Form::Form6];
    if (night) {
        const auto scenario = readScenario(argv[2]);
        if (scenario) {
            playNight(monitor, platform, *scenario);
            trends->resize(1000, 780);  // as it opens on a large screen
            monitor.click(treld::kTrendsMenu.form, treld::kTrendsMenu.name);
            monitor.select(treld::kTrendRange.form, treld::kTrendRange.name, 2);  // 6 h
            binder.flush();
            QApplication::processEvents();  // lays the charts out at their size
            trends->findChild<treld::TrendCharts*>()->redraw();
            QApplication::processEvents();
            saved = trends->grab().save(argv[3]);
        }
    } else {
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
        saved = windows.form1->grab().save(argv[1]);
        if (argc == 3)
            saved = windows.form4->grab().save(argv[2]) && saved;
    }
    return saved ? 0 : 1;
}
