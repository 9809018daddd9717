// Prints what the trends cost, in CPU time of the thread that does it: adding samples and CSV rows,
// the memory of a day of history, a redraw of 24 h beside 10 min, and the CPU of the poll cycle per
// exchange with the Trends window open at 24 h beside closed, in the same run. Usage: trends_bench
// [seconds per pace run]
#include <malloc.h>
#include <time.h>

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <thread>

#include "conductor/monitor.h"
#include "e2e_support.h"
#include "foundation/file_append.h"
#include "platform/qt_platform.h"
#include "trends/trend_csv.h"
#include "windows/station_windows.h"
#include "windows/trends_window.h"

using namespace treld;

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double heapMiB() {
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// CPU time of this thread: the machine's other load does not count.
double msSince(double startCpuMs) {
    return threadCpuMs() - startCpuMs;
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
    const auto start = threadCpuMs();
    for (int i = 1; i <= adds; ++i)
        history.add(ReplyGroup::Source, 86400 + i, {230, 230, 230, 230, 230, 230, 500, 500});
    const double addUs = msSince(start) * 1000 / adds;

    e2e::ProgramDir dir;
    const int rows = 2000;
    const auto written = threadCpuMs();
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
    const double before = heapMiB();
    auto* history = new TrendHistory;
    fillDay(*history, 86400);
    std::printf("24 h of history         %8.1f MiB of heap (%zu samples of %zu bytes)\n",
                heapMiB() - before, 2 * history->samples(ReplyGroup::Source).size(),
                sizeof(TrendSample));
    delete history;
}

struct Redraw {
    double dataMs;   // decimation and the series
    double paintMs;  // the three charts painted, as the screen would
};

Redraw redrawMs(TrendCharts& charts, Element& element, int range) {
    element.setListIndex(range);
    std::vector<double> data;
    std::vector<double> paint;
    for (int i = 0; i < 9; ++i) {
        const auto start = threadCpuMs();
        charts.drawElement(element);  // chooses the range
        charts.redraw();
        data.push_back(msSince(start));
        const auto painted = threadCpuMs();
        charts.grab();
        paint.push_back(msSince(painted));
    }
    std::sort(data.begin(), data.end());
    std::sort(paint.begin(), paint.end());
    return {data[data.size() / 2], paint[paint.size() / 2]};
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
    const auto decimated = threadCpuMs();
    for (ReplyGroup group : {ReplyGroup::Source, ReplyGroup::Output})
        plotReply(trends.history.samples(group), trends.shownUntil - 86399, trends.shownUntil, 900);
    std::printf("decimate 24 h, 16 values %7.1f ms\n", msSince(decimated));
    DisplayModel model;
    Element& element = model.declare(Form::Form6, "TrendCharts");
    const Redraw day = redrawMs(charts, element, 3);
    const Redraw tenMinutes = redrawMs(charts, element, 0);
    std::printf("redraw 24 h, 14 series  %8.1f ms = %.1f data + %.1f paint (86,400 samples each)\n",
                day.dataMs + day.paintMs, day.dataMs, day.paintMs);
    std::printf(
        "redraw 10 min           %8.1f ms = %.1f data + %.1f paint (ratio 24 h / 10 min %.2f)\n",
        tenMinutes.dataMs + tenMinutes.paintMs, tenMinutes.dataMs, tenMinutes.paintMs,
        (day.dataMs + day.paintMs) / (tenMinutes.dataMs + tenMinutes.paintMs));
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

// A device answering at once on its own thread, counting the exchanges.
struct InstantDevice {
    explicit InstantDevice(e2e::DeviceLine& line)
        : thread([this, &line] {
              while (!stop) {
                  if (const auto command = line.nextCommand(std::chrono::milliseconds(50))) {
                      line.send(device.reply(command->text));
                      ++exchanges;
                  }
              }
          }) {}
    ~InstantDevice() {
        stop = true;
        thread.join();
    }
    e2e::AnsweringDevice device;  // used by the thread alone
    std::atomic<bool> stop{false};
    std::atomic<long> exchanges{0};
    std::thread thread;
};

Pace runFor(int seconds, const InstantDevice& player) {
    const long exchanges = player.exchanges;
    const double cpu = threadCpuMs();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double count = double(player.exchanges - exchanges);
    return {count / seconds, (threadCpuMs() - cpu) / count};
}

void paceWithTheWindow(int seconds) {
    e2e::ProgramDir dir;
    dir.write("sts.cfg", "COMPORT:1\r\nTIMEOUT:1000\r\n");
    writeDayOfFiles(dir);
    e2e::DeviceLine line;
    InstantDevice player(line);
    qputenv("TRELD_COM1", QByteArray::fromStdString(line.monitorEnd()));

    QtPlatform platform;
    Monitor monitor(platform, dir.path());
    StationWindows station(monitor);
    Binder& binder = station.binder;
    platform.attach(&monitor, [&binder] { binder.flush(); });
    binder.bindAll();
    station.form1->show();
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
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    memoryOfADay();
    costOfSamplesAndRows();
    redrawOfADay();
    paceWithTheWindow(seconds);
    return 0;
}
