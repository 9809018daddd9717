// Prints what the trends cost: adding samples and CSV rows, the memory of a
// day of history, a redraw of 24 h beside 10 min, and the CPU of the poll
// cycle per exchange with the Trends window open at 24 h beside closed, in
// the same run.
// Usage: trends_bench [seconds per pace run]
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

#include "conductor/monitor.h"
#include "e2e_support.h"
#include "foundation/file_append.h"
#include "platform/qt_platform.h"
#include "trends/trend_csv.h"
#include "windows/builders.h"
#include "windows/main_window.h"
#include "windows/trends_window.h"

using namespace treld;
using Clock = std::chrono::steady_clock;

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double residentMiB() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages >> pages;
    return double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A day of 1 Hz samples up to `end`, drifting like a healthy device.
void fillDay(TrendHistory& history, std::int64_t end) {
    for (std::int64_t at = end - 86399; at <= end; ++at) {
        const auto wobble = static_cast<std::int16_t>(at % 7);
        history.add(ReplyGroup::Source, at,
                    {std::int16_t(226 + wobble), 230, 231, 229, 228, 230, 500, 499});
        history.add(ReplyGroup::Output, at, {std::int16_t(40 + wobble), 50, 55, 60, 75, 82, 35, 2});
    }
}

void costOfSamplesAndRows() {
    TrendHistory history;
    fillDay(history, 86400);  // full: every further add also drops the oldest
    const int adds = 500'000;
    const auto start = Clock::now();
    for (int i = 1; i <= adds; ++i)
        history.add(ReplyGroup::Source, 86400 + i, {230, 230, 230, 230, 230, 230, 500, 500});
    const double addUs = msSince(start) * 1000 / adds;

    e2e::ProgramDir dir;
    const int rows = 2000;
    const auto written = Clock::now();
    for (int i = 0; i < rows; ++i)
        appendToFile(dir.path() / "TRENDS" / "day.csv", trendCsvRow(history, 86400 + adds, 3600));
    const double rowUs = msSince(written) * 1000 / rows;

    // 90 exchanges/s: about 26 "SRV" and "OPL" replies, a tenth of a row.
    const double perSecondUs = 26 * addUs + 0.1 * rowUs;
    std::printf("add a sample            %8.3f us\n", addUs);
    std::printf("append a CSV row        %8.1f us (open, append, close)\n", rowUs);
    std::printf("at 90 exchanges/s       %8.1f us per second = %.4f %% of one core\n", perSecondUs,
                perSecondUs / 1e4);
}

void memoryOfADay() {
    const double before = residentMiB();
    auto* history = new TrendHistory;
    fillDay(*history, 86400);
    std::printf("24 h of history         %8.1f MiB resident (%zu samples of %zu bytes)\n",
                residentMiB() - before, 2 * history->samples(ReplyGroup::Source).size(),
                sizeof(TrendSample));
    delete history;
}

double redrawMs(TrendCharts& charts, Element& element, int range) {
    element.setListIndex(range);
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const auto start = Clock::now();
        charts.drawElement(element);
        charts.grab();  // paint it, as the screen would
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void redrawOfADay() {
    Trends trends;
    trends.shownUntil = QDateTime::currentSecsSinceEpoch();
    fillDay(trends.history, trends.shownUntil);
    QLabel readout;
    TrendCharts charts(trends, &readout, nullptr);
    charts.resize(1000, 700);
    charts.show();
    QApplication::processEvents();
    DisplayModel model;
    Element& element = model.declare(Form::Form6, "TrendCharts");
    const double day = redrawMs(charts, element, 3);
    const double tenMinutes = redrawMs(charts, element, 0);
    std::printf(
        "redraw 24 h, 14 series  %8.1f ms (86,400 samples each; 10 min: %.1f ms, ratio %.2f)\n",
        day, tenMinutes, day / tenMinutes);
}

// Today's and yesterday's files with a row every second, as a monitor that
// ran all day at 1 Hz would leave them for the reload.
void writeDayOfFiles(const e2e::ProgramDir& dir) {
    TrendHistory day;
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    fillDay(day, now);
    std::map<std::string, std::string> files;
    for (std::int64_t at = now - 86399; at <= now; ++at) {
        std::string& text = files[trendFileName(at, offset)];
        if (text.empty())
            text = trendCsvHeader();
        text += trendCsvRow(day, at, offset);
    }
    for (const auto& [name, text] : files)
        appendToFile(dir.path() / "TRENDS" / name, text);
}

struct Pace {
    double exchangesPerSecond;
    double cpuMsPerExchange;
};

Pace runFor(int seconds, const e2e::DevicePlayer& player) {
    const std::size_t exchanges = player.commands().size();
    const double cpu = threadCpuMs();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double count = double(player.commands().size() - exchanges);
    return {count / seconds, (threadCpuMs() - cpu) / count};
}

void paceWithTheWindow(int seconds) {
    e2e::ProgramDir dir;
    dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\n");
    writeDayOfFiles(dir);
    e2e::DeviceLine line;
    e2e::DevicePlayer player(line);
    qputenv("TRELD_COM1", QByteArray::fromStdString(line.monitorEnd()));

    QtPlatform platform;
    Monitor monitor(platform, dir.path());
    QMainWindow* form1 = buildMainWindow();
    const std::array<QWidget*, kFormCount> windows = {form1,
                                                      buildSettingsDialog(form1),
                                                      buildLoginDialog(form1),
                                                      buildAlarmsWindow(),
                                                      buildAboutWindow(form1),
                                                      buildTrendsWindow(form1, monitor.trends())};
    Binder binder(monitor, windows);
    platform.attach(&monitor, [&binder] { binder.flush(); });
    binder.bindAll();
    form1->show();
    monitor.start();
    binder.flush();

    runFor(2, player);  // settle
    const Pace closed = runFor(seconds, player);
    monitor.click(Form::Form1, "mntrends");
    monitor.select(Form::Form6, "TrendRange", 3);
    binder.flush();
    const Pace open = runFor(seconds, player);
    std::printf("poll pace, window closed %7.1f exchanges/s, %.3f ms CPU per exchange\n",
                closed.exchangesPerSecond, closed.cpuMsPerExchange);
    std::printf(
        "poll pace, open at 24 h  %7.1f exchanges/s, %.3f ms CPU per exchange (ratio %.2f)\n",
        open.exchangesPerSecond, open.cpuMsPerExchange,
        open.cpuMsPerExchange / closed.cpuMsPerExchange);
    platform.attach(nullptr, {});
    delete windows[static_cast<int>(Form::Form4)];
    delete form1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    costOfSamplesAndRows();
    memoryOfADay();
    redrawOfADay();
    paceWithTheWindow(seconds);
    return 0;
}
