#include "trends/trends.h"

#include "foundation/line_reader.h"
#include "trends/trend_csv.h"

namespace treld {
namespace {

std::filesystem::path trendFolder(const RecordsCore& c) {
    return c.stationDir / "TRENDS";
}

Element& charts(RecordsCore& c) {
    return c.ui(kTrendCharts);
}

void redrawIfShown(RecordsCore& c) {
    if (c.ui(kTrendsWindow).visible())
        charts(c).setValue(charts(c).value() + 1);
}

void moveRightEdge(Trends& trends, const LocalDateTime& now) {
    trends.shownUntil = now.epochSeconds;
    trends.utcOffsetSeconds = now.utcOffsetSeconds;
}

void appendRow(RecordsCore& c, Trends& trends, const LocalDateTime& now) {
    const std::string problem = trends.keptRows.append(
        trendFolder(c) / trendFileName(now.epochSeconds, now.utcOffsetSeconds),
        trendCsvRow(trends.history, now.epochSeconds, now.utcOffsetSeconds));
    if (!problem.empty()) {
        c.statusLine.say(Said::TrendsNotWritten, {trends.keptRows.stuckFile().string(), problem,
                                                  trends.keptRows.keptText("row")});
    }
}

void takeReading(RecordsCore& c, Trends& trends, PanelReading& reading, ReplyGroup group) {
    if (reading.news == PanelReading::News::None)
        return;
    const std::int64_t at = c.platform.now().epochSeconds;
    if (reading.news == PanelReading::News::Values) {
        trends.history.add(group, at, reading.numbers);
    } else {
        trends.history.addLinkLost(group, at);
    }
    reading.news = PanelReading::News::None;
}

}  // namespace

void declareTrendsElements(DisplayModel& ui) {
    ui.declare(kTrendsMenu, {.caption = "&Trends"});
    ui.declare(kTrendsWindow, {.caption = "Trends", .visible = false});
    Element& range = ui.declare(kTrendRange);
    for (const TrendRange& choice : kTrendRanges)
        range.addItem(choice.caption);
    range.setListIndex(0);
    ui.declare(kTrendCharts).setListIndex(0);
}

void startTrends(RecordsCore& c, Trends& trends) {
    const LocalDateTime now = c.platform.now();
    moveRightEdge(trends, now);
    const std::int64_t day = 24 * 3600;
    for (std::int64_t at : {now.epochSeconds - day, now.epochSeconds}) {
        const std::filesystem::path file = trendFolder(c) / trendFileName(at, now.utcOffsetSeconds);
        LineReader in(file);
        if (!in.problem().empty()) {
            c.statusLine.notice("Trends: " + file.string() + " skipped: " + in.problem());
            continue;
        }
        const TrendCsvReload reload = reloadTrendCsv(in, trends.history);
        if (reload.damaged > 0) {
            c.statusLine.notice("Trends: damaged lines skipped in " + file.string() + ": " +
                                std::to_string(reload.damaged));
        }
    }
    c.platform.startTimer(TimerId::TrendTimer, kTrendTimerMs);
}

void takeReadings(RecordsCore& c, Trends& trends) {
    takeReading(c, trends, c.readings.source, ReplyGroup::Source);
    takeReading(c, trends, c.readings.output, ReplyGroup::Output);
}

void trendTick(RecordsCore& c, Trends& trends) {
    const LocalDateTime now = c.platform.now();
    moveRightEdge(trends, now);
    const std::int64_t slot = now.epochSeconds / kTrendRowSeconds;
    if (slot != trends.lastRowSlot) {
        trends.lastRowSlot = slot;
        appendRow(c, trends, now);
    } else {
        trends.keptRows.retry();
    }
    redrawIfShown(c);
}

bool onTrendsEvent(RecordsCore& c, Trends& trends, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Click && event.is(kTrendsMenu)) {
        moveRightEdge(trends, c.platform.now());
        c.ui(kTrendsWindow).activate();
        redrawIfShown(c);
        return true;
    }
    if (event.kind == Kind::Select && event.is(kTrendRange)) {
        if (event.number < 0 || event.number >= static_cast<int>(kTrendRanges.size()))
            return true;
        c.ui(kTrendRange).setListIndex(event.number);
        charts(c).setListIndex(event.number);
        return true;
    }
    return false;
}

std::string shownRangeCsv(const Trends& trends, int rangeIndex) {
    const std::int64_t from = trends.shownUntil - kTrendRanges.at(rangeIndex).seconds + 1;
    return trendCsvRange(trends.history, from, trends.shownUntil, trends.utcOffsetSeconds);
}

}  // namespace treld
