#include "trends/trend_csv.h"

#include <algorithm>
#include <array>
#include <vector>

#include "foundation/iso_time.h"

namespace treld {
namespace {

constexpr std::size_t kCells = 1 + kPanelQuantities.size();
constexpr std::size_t kLongestLine = 512;

// Digits, and for a quantity in tenths one decimal after a point.
std::optional<std::int16_t> parseCell(std::string_view cell, const PanelQuantity& quantity) {
    if (cell.empty())
        return kNotANumber;
    std::string digits(cell);
    if (quantity.divisor == 10) {
        if (digits.size() < 3 || digits[digits.size() - 2] != '.')
            return std::nullopt;
        digits.erase(digits.size() - 2, 1);
    }
    if (digits.size() > 4 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::int16_t>(std::stoi(digits));
}

bool reloadLine(std::string_view line, TrendHistory& history) {
    const std::optional<TrendCsvRow> row = parseTrendCsvRow(line);
    if (!row)
        return false;
    std::array<TrendSample, kReplyGroups> rows{};
    std::array<bool, kReplyGroups> anyValue{};
    for (std::size_t i = 0; i < kPanelQuantities.size(); ++i) {
        const PanelQuantity& quantity = kPanelQuantities[i];
        const int group = static_cast<int>(quantity.group);
        rows[group].numbers[quantity.field] = row->numbers[i];
        anyValue[group] = anyValue[group] || row->numbers[i] != kNotANumber;
    }
    for (int group = 0; group < kReplyGroups; ++group) {
        if (anyValue[group]) {
            history.add(static_cast<ReplyGroup>(group), row->at, rows[group].numbers);
        } else {
            history.addLinkLost(static_cast<ReplyGroup>(group), row->at);
        }
    }
    return true;
}

}  // namespace

std::optional<TrendCsvRow> parseTrendCsvRow(std::string_view line) {
    if (line.size() > kLongestLine)
        return std::nullopt;
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (cells.size() != kCells)
        return std::nullopt;
    const std::optional<std::int64_t> at = parseIsoLocalTime(cells[0]);
    if (!at)
        return std::nullopt;
    TrendCsvRow row{*at, {}};
    for (std::size_t i = 0; i < kPanelQuantities.size(); ++i) {
        const std::optional<std::int16_t> number = parseCell(cells[i + 1], kPanelQuantities[i]);
        if (!number)
            return std::nullopt;
        row.numbers[i] = *number;
    }
    return row;
}

std::string trendFileName(std::int64_t at, int utcOffsetSeconds) {
    return isoLocalTime(at, utcOffsetSeconds).substr(0, 10) + ".csv";
}

std::string trendValueText(const PanelQuantity& quantity, const TrendSample* sample) {
    if (sample == nullptr || sample->numbers[quantity.field] == kNotANumber)
        return "";
    const int number = sample->numbers[quantity.field];
    if (quantity.divisor == 1)
        return std::to_string(number);
    return std::to_string(number / 10) + '.' + std::to_string(number % 10);
}

std::string trendCsvHeader() {
    std::string header = "Time";
    for (const PanelQuantity& quantity : kPanelQuantities) {
        header += ',';
        header += quantity.name;
        header += " (";
        header += quantity.unit;
        header += ')';
    }
    return header + "\r\n";
}

std::string trendCsvRow(const TrendHistory& history, std::int64_t at, int utcOffsetSeconds) {
    std::string row = isoLocalTime(at, utcOffsetSeconds);
    const std::array<const TrendSample*, kReplyGroups> samples = {
        history.valuesAt(ReplyGroup::Source, at), history.valuesAt(ReplyGroup::Output, at)};
    for (const PanelQuantity& quantity : kPanelQuantities)
        row += ',' + trendValueText(quantity, samples[static_cast<int>(quantity.group)]);
    return row + "\r\n";
}

std::string trendCsvRange(const TrendHistory& history, std::int64_t from, std::int64_t to,
                          int utcOffsetSeconds) {
    std::vector<std::int64_t> seconds;
    for (ReplyGroup group : {ReplyGroup::Source, ReplyGroup::Output}) {
        for (const TrendSample& sample : history.samples(group)) {
            if (sample.at >= from && sample.at <= to)
                seconds.push_back(sample.at);
        }
    }
    std::sort(seconds.begin(), seconds.end());
    seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
    std::string text = trendCsvHeader();
    for (std::int64_t at : seconds)
        text += trendCsvRow(history, at, utcOffsetSeconds);
    return text;
}

TrendCsvReload reloadTrendCsv(LineReader& lines, TrendHistory& history) {
    TrendCsvReload result;
    std::string text;
    while (lines.next(text)) {
        const std::string_view line = text;
        if (line.empty() || line.starts_with("Time,"))
            continue;
        if (reloadLine(line, history)) {
            ++result.rows;
        } else {
            ++result.damaged;
        }
    }
    return result;
}

}  // namespace treld
