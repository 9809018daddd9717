// The trends: the history of the measurement replies, the daily CSV files
// in the station directory and the Trends window's controls (Form6).
//
// The poll cycle's decoding leaves each reply's numbers in LinkCore::readings;
// after every poll tick takeReadings moves them into the history with the PC
// time. TrendTimer ticks every second: it moves the charts' right edge, has
// an open Trends window redrawn, and every 10 s appends a CSV row (rows that
// cannot be written are kept and tried again every second).
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "foundation/operator_event.h"
#include "foundation/pending_lines.h"
#include "records/records_core.h"
#include "trends/trend_csv.h"
#include "trends/trend_history.h"

namespace treld {

struct TrendRange {
    std::string_view caption;
    std::int64_t seconds;
};
inline constexpr std::array<TrendRange, 4> kTrendRanges = {{
    {"10 min", 600},
    {"1 h", 3600},
    {"6 h", 6 * 3600},
    {"24 h", 24 * 3600},
}};

inline constexpr int kTrendTimerMs = 1000;
inline constexpr int kTrendRowSeconds = 10;
// Rows kept while the trend file cannot be written: a day's, about 1 MB.
inline constexpr std::size_t kTrendKeptRows = 24 * 3600 / kTrendRowSeconds;

// "Trends" in the main window's File menu opens Form6: the range choice and
// the charts (value: redraw count, list index: range).
inline constexpr ElementName kTrendsMenu{Form::Form1, "mntrends"};
inline constexpr ElementName kTrendsWindow{Form::Form6, "Form6"};
inline constexpr ElementName kTrendRange{Form::Form6, "TrendRange"};
inline constexpr ElementName kTrendCharts{Form::Form6, "TrendCharts"};

struct Trends {
    TrendHistory history;
    std::int64_t shownUntil = 0;  // the charts' right edge: the PC time of the latest tick
    int utcOffsetSeconds = 0;     // of the PC clock at that tick
    std::int64_t lastRowSlot = -1;
    PendingLines keptRows{kTrendKeptRows, trendCsvHeader()};
};

void declareTrendsElements(DisplayModel& ui);

// At start-up: yesterday's and today's files into the history, the timer.
void startTrends(RecordsCore& c, Trends& trends);

void takeReadings(RecordsCore& c, Trends& trends);
void trendTick(RecordsCore& c, Trends& trends);
bool onTrendsEvent(RecordsCore& c, Trends& trends, const OperatorEvent& event);

// The rows of the range that the charts show, as the text of a CSV file.
std::string shownRangeCsv(const Trends& trends, int rangeIndex);

}  // namespace treld
