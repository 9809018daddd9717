// The trend CSV files: TRENDS/yyyy-mm-dd.csv, a header naming each column
// with its unit, then rows of the local time with its offset (ISO 8601) and
// the values that stood then, empty cells where the link was down.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/line_reader.h"
#include "link/panel_quantities.h"
#include "trends/trend_history.h"

namespace treld {

// "2026-12-05.csv": the file of the local day of `at`.
std::string trendFileName(std::int64_t at, int utcOffsetSeconds);

// One value in its unit ("230", "50.0"); empty without a sample or a number.
std::string trendValueText(const PanelQuantity& quantity, const TrendSample* sample);

// "Time,S1 L1 (V),...,SYNC angle (deg)" and CR LF.
std::string trendCsvHeader();
// The row of the values that stood at `at`, with CR LF.
std::string trendCsvRow(const TrendHistory& history, std::int64_t at, int utcOffsetSeconds);
// The header and one row for every second of [from, to] with a sample.
std::string trendCsvRange(const TrendHistory& history, std::int64_t from, std::int64_t to,
                          int utcOffsetSeconds);

// A row of a trend file: its instant and each quantity's number as in
// PanelReading (kNotANumber for an empty cell), in kPanelQuantities' order.
struct TrendCsvRow {
    std::int64_t at;
    std::array<std::int16_t, kPanelQuantities.size()> numbers;
};
// Nothing for the header, a damaged or cut line.
std::optional<TrendCsvRow> parseTrendCsvRow(std::string_view line);

struct TrendCsvReload {
    int rows = 0;
    int damaged = 0;  // lines skipped: too long, wrong cells, bad time, cut short
};

// Adds the rows of a trend file to the history.
TrendCsvReload reloadTrendCsv(LineReader& lines, TrendHistory& history);

}  // namespace treld
