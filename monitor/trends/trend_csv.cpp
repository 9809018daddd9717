#include "trends/trend_csv.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace treld {
namespace {

using std::chrono::days;
using std::chrono::floor;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr std::size_t kCells = 1 + kTrendQuantities.size();
constexpr std::size_t kLongestLine = 512;

struct Civil {
    std::chrono::year_month_day date;
    std::chrono::hh_mm_ss<seconds> time;
};

Civil civil(std::int64_t localSeconds) {
    const sys_seconds at{seconds{localSeconds}};
    const sys_days day = floor<days>(at);
    return {std::chrono::year_month_day{day}, std::chrono::hh_mm_ss<seconds>{at - day}};
}

// Digits, and for a quantity in tenths one decimal after a point.
std::optional<std::int16_t> parseCell(std::string_view cell, const TrendQuantity& quantity) {
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

// Exactly `width` digits at `from`; -1 otherwise.
int digitsAt(std::string_view text, std::size_t from, std::size_t width) {
    int value = 0;
    for (std::size_t i = from; i < from + width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool reloadLine(std::string_view line, TrendHistory& history) {
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (cells.size() != kCells)
        return false;
    const std::optional<std::int64_t> at = parseIsoLocalTime(cells[0]);
    if (!at)
        return false;
    std::array<TrendSample, kReplyGroups> rows{};
    std::array<bool, kReplyGroups> anyValue{};
    for (std::size_t i = 0; i < kTrendQuantities.size(); ++i) {
        const TrendQuantity& quantity = kTrendQuantities[i];
        const std::optional<std::int16_t> number = parseCell(cells[i + 1], quantity);
        if (!number)
            return false;
        const int group = static_cast<int>(quantity.group);
        rows[group].numbers[quantity.field] = *number;
        anyValue[group] = anyValue[group] || *number != kNotANumber;
    }
    for (int group = 0; group < kReplyGroups; ++group) {
        if (anyValue[group]) {
            history.add(static_cast<ReplyGroup>(group), *at, rows[group].numbers);
        } else {
            history.addLinkLost(static_cast<ReplyGroup>(group), *at);
        }
    }
    return true;
}

}  // namespace

std::string isoLocalTime(std::int64_t at, int utcOffsetSeconds) {
    const Civil local = civil(at + utcOffsetSeconds);
    const int offsetMinutes = std::abs(utcOffsetSeconds) / 60;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d%c%02d:%02d",
                  int(local.date.year()), unsigned(local.date.month()), unsigned(local.date.day()),
                  int(local.time.hours().count()), int(local.time.minutes().count()),
                  int(local.time.seconds().count()), utcOffsetSeconds < 0 ? '-' : '+',
                  offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

std::optional<std::int64_t> parseIsoLocalTime(std::string_view text) {
    // yyyy-mm-ddThh:mm:ss+hh:mm
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || (text[19] != '+' && text[19] != '-') ||
        text[22] != ':')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    const int offsetHours = digitsAt(text, 20, 2);
    const int offsetMinutes = digitsAt(text, 23, 2);
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{unsigned(month)},
                                           std::chrono::day{unsigned(day)}};
    if (year < 0 || !date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59 || offsetHours < 0 || offsetHours > 18 || offsetMinutes < 0 ||
        offsetMinutes > 59)
        return std::nullopt;
    const int offset = (text[19] == '-' ? -1 : 1) * (offsetHours * 3600 + offsetMinutes * 60);
    const sys_seconds local =
        sys_days{date} + std::chrono::hours{hour} + std::chrono::minutes{minute} + seconds{second};
    return local.time_since_epoch().count() - offset;
}

std::string trendFileName(std::int64_t at, int utcOffsetSeconds) {
    return isoLocalTime(at, utcOffsetSeconds).substr(0, 10) + ".csv";
}

std::string trendValueText(const TrendQuantity& quantity, const TrendSample* sample) {
    if (sample == nullptr || sample->numbers[quantity.field] == kNotANumber)
        return "";
    const int number = sample->numbers[quantity.field];
    if (quantity.divisor == 1)
        return std::to_string(number);
    return std::to_string(number / 10) + '.' + std::to_string(number % 10);
}

std::string trendCsvHeader() {
    std::string header = "Time";
    for (const TrendQuantity& quantity : kTrendQuantities) {
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
    for (const TrendQuantity& quantity : kTrendQuantities)
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

TrendCsvReload reloadTrendCsv(std::istream& in, TrendHistory& history) {
    TrendCsvReload result;
    std::array<char, kLongestLine> buffer;
    while (in.getline(buffer.data(), buffer.size()) || in.gcount() > 0) {
        std::size_t length = static_cast<std::size_t>(in.gcount());
        if (in.fail() && !in.eof()) {  // longer than the buffer: skip to its end
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            ++result.damaged;
            continue;
        }
        if (in.eof()) {
            result.cutOff = length > 0;
        } else {
            --length;  // the line end that getline took
        }
        std::string_view line(buffer.data(), length);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
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
