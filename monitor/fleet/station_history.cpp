#include "fleet/station_history.h"

#include "fleet/payloads.h"
#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "foundation/iso_time.h"
#include "foundation/line_reader.h"
#include "foundation/pc_event_log.h"
#include "trends/trend_csv.h"

namespace treld {
namespace {

constexpr std::int64_t kDaySeconds = 24 * 3600;

// The local calendar date of `at`, as a LocalDateTime.
LocalDateTime localDate(std::int64_t at, int utcOffsetSeconds) {
    const std::string iso = isoLocalTime(at, utcOffsetSeconds);  // yyyy-mm-ddThh...
    LocalDateTime date;
    date.year = std::stoi(iso.substr(0, 4));
    date.month = std::stoi(iso.substr(5, 2));
    date.day = std::stoi(iso.substr(8, 2));
    return date;
}

}  // namespace

std::variant<TimeRange, std::string> parseTimeRange(std::string_view from, std::string_view to,
                                                    std::int64_t longest) {
    const std::optional<std::int64_t> start = parseIsoLocalTime(from);
    const std::optional<std::int64_t> end = parseIsoLocalTime(to);
    if (!start || !end)
        return std::string(
            "from and to must be times with their offset, as 2026-12-05T14:05:00+01:00");
    if (*end < *start)
        return std::string("to lies before from");
    if (*end - *start > longest)
        return "at most " + std::to_string(longest / 3600) + " hours at once";
    return TimeRange{*start, *end};
}

std::string eventsBetween(const std::filesystem::path& stationDir, TimeRange range,
                          int utcOffsetSeconds) {
    std::string out = "[";
    LocalDateTime month = localDate(range.from, utcOffsetSeconds);
    const LocalDateTime last = localDate(range.to, utcOffsetSeconds);
    for (; month.year * 12 + month.month <= last.year * 12 + last.month;
         month.year += month.month / 12, month.month = month.month % 12 + 1) {
        LineReader lines(stationDir / "SERLOGS" / pcLogFileName(month));
        for (std::string line; lines.next(line);) {
            std::optional<PcLogEntry> entry = parsePcLogLine(line);
            if (!entry)
                continue;
            LocalDateTime& at = entry->at;
            const std::optional<std::int64_t> wall =
                wallSeconds(at.year, at.month, at.day, at.hour, at.minute, at.second);
            if (!wall || *wall - utcOffsetSeconds < range.from ||
                *wall - utcOffsetSeconds > range.to)
                continue;
            at.epochSeconds = *wall - utcOffsetSeconds;
            at.utcOffsetSeconds = utcOffsetSeconds;
            out += (out.size() > 1 ? "," : "") + eventJson(entry->code, entry->text, at);
        }
    }
    return out + "]";
}

std::string trendRowsBetween(const std::filesystem::path& stationDir, TimeRange range,
                             int utcOffsetSeconds) {
    std::string columns = "[\"time\"";
    JsonObject units;
    for (const PanelQuantity& quantity : kPanelQuantities) {
        columns += "," + jsonString(quantityKey(quantity));
        units.text(quantityKey(quantity), unitOf(quantity));
    }
    std::string rows = "[";
    // A day's file starts at local midnight: the first one is that of `from`.
    for (std::int64_t day = range.from; day < range.to + kDaySeconds; day += kDaySeconds) {
        LineReader lines(stationDir / "TRENDS" / trendFileName(day, utcOffsetSeconds));
        for (std::string line; lines.next(line);) {
            const std::optional<TrendCsvRow> row = parseTrendCsvRow(line);
            if (!row || row->at < range.from || row->at > range.to)
                continue;
            rows += (rows.size() > 1 ? ",[" : "[") +
                    jsonString(isoLocalTime(row->at, utcOffsetSeconds));
            for (std::size_t i = 0; i < kPanelQuantities.size(); ++i) {
                const std::int16_t number = row->numbers[i];
                rows += "," + (number == kNotANumber
                                   ? std::string("null")
                                   : numberText(double(number) / kPanelQuantities[i].divisor));
            }
            rows += "]";
        }
    }
    return JsonObject()
        .raw("columns", columns + "]")
        .raw("units", units.done())
        .raw("rows", rows + "]")
        .done();
}

}  // namespace treld
