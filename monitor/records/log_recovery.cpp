#include "records/log_recovery.h"

#include <algorithm>
#include <map>
#include <set>

#include "foundation/file_append.h"
#include "foundation/iso_time.h"
#include "foundation/pc_event_log.h"
#include "link/line.h"
#include "records/records_core.h"
#include "records/sts_log.h"

namespace treld {
namespace {

constexpr std::int64_t kMarginSeconds = 60;  // the device counts minutes
constexpr int kTriesPerRecord = 3;           // then the record is passed over
// What is read back of each month's PC event file to find lines written before.
constexpr std::uintmax_t kReadBackBytes = 1 << 20;
constexpr int kMaxMonthsRead = 13;

std::int64_t wallNow(const LocalDateTime& at) {
    return wallSeconds(at.year, at.month, at.day, at.hour, at.minute, at.second).value_or(0);
}

// A line of a PC event file: " 110 05-12-2026--14:05:00 text".
struct PcLine {
    int code;
    std::int64_t at;
    std::string_view text;
};

std::optional<PcLine> parsePcLine(std::string_view line) {
    const std::size_t codeAt = line.find_first_not_of(' ');
    const std::size_t blank = line.find(' ', codeAt);
    if (codeAt == std::string_view::npos || blank == std::string_view::npos || blank - codeAt > 6 ||
        line.size() < blank + 21)
        return std::nullopt;
    const int code = fixedDigits(line, codeAt, blank - codeAt);
    const std::string_view stamp = line.substr(blank + 1, 20);
    const std::optional<std::int64_t> at =
        stamp.substr(10, 2) != "--"
            ? std::nullopt
            : wallSeconds(fixedDigits(stamp, 6, 4), fixedDigits(stamp, 3, 2),
                          fixedDigits(stamp, 0, 2), fixedDigits(stamp, 12, 2),
                          fixedDigits(stamp, 15, 2), fixedDigits(stamp, 18, 2));
    if (code < 0 || !at)
        return std::nullopt;
    std::string_view text = line.substr(std::min(line.size(), blank + 22));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return PcLine{code, *at, text};
}

// Every whole line of the end of a PC event file, and of the lines kept to
// be written to it once the disk has room again.
template <typename Each>
void eachPcLine(const RecordsCore& c, const std::filesystem::path& file, Each each) {
    const std::string tail = readFileTail(file, kReadBackBytes) + c.pcEvents.keptFor(file);
    std::size_t from = 0;
    for (std::size_t end; (end = tail.find('\n', from)) != std::string::npos; from = end + 1) {
        if (const std::optional<PcLine> line =
                parsePcLine(std::string_view(tail).substr(from, end - from)))
            each(*line);
    }
}

std::filesystem::path pcLogFile(const RecordsCore& c, const LocalDateTime& month) {
    return c.stationDir / "SERLOGS" / pcLogFileName(month);
}

std::string wallHoursMinutes(std::int64_t wall) {
    const std::int64_t minutes = (wall / 60) % (24 * 60);
    return hoursMinutes(int(minutes / 60), int(minutes % 60));
}

}  // namespace

void LogRecovery::linkLost(const LocalDateTime& at) {
    if (!lostAt_)
        lostAt_ = wallNow(at);
    // Records logged from now on are read anew after the link is back.
    index_ = 0;
    records_.clear();
}

void LogRecovery::linkRestored(const LocalDateTime& at) {
    if (!lostAt_)
        return;
    gaps_.push_back({*lostAt_, wallNow(at), true});
    lostAt_.reset();
    due_ = false;  // the offset is read again first
    if (gaps_.size() > kMaxGaps) {
        gaps_[1].from = gaps_[0].from;
        gaps_.erase(gaps_.begin());
    }
}

void LogRecovery::monitorStarting(RecordsCore& c) {
    const LocalDateTime now = c.platform.now();
    LocalDateTime month = now;
    std::optional<std::int64_t> last;
    for (int back = 0; back < 2 && !last; ++back) {
        eachPcLine(c, pcLogFile(c, month),
                   [&](const PcLine& line) { last = std::max(last.value_or(line.at), line.at); });
        month =
            dateTimeAt(*wallSeconds(month.year, month.month, 1, 0, 0, 0) - 1, now.utcOffsetSeconds);
    }
    if (last && *last <= wallNow(now))
        gaps_.push_back({*last, wallNow(now), false});
}

void LogRecovery::deviceTime(std::string_view reply) {
    const int hour = fixedDigits(reply, 1, 2), minute = fixedDigits(reply, 4, 2),
              second = fixedDigits(reply, 7, 2);
    clock_.reset();
    if (hour >= 0 && minute >= 0 && second >= 0)
        clock_ = hour * 3600 + minute * 60 + second;
}

void LogRecovery::deviceDate(std::string_view reply, const LocalDateTime& now) {
    const std::optional<std::int64_t> day =
        wallSeconds(2000 + fixedDigits(reply, 7, 2), fixedDigits(reply, 4, 2),
                    fixedDigits(reply, 1, 2), 0, 0, 0);
    if (!clock_ || !day)
        return;
    offset_ = *day + *clock_ - wallNow(now);
    due_ = true;
}

PollNext LogRecovery::next(bool simulated) {
    if (simulated || gaps_.empty() || lostAt_ || !offset_ || !due_)
        return {};
    due_ = false;
    return {.command = "LOG" + threeDigits(index_), .owner = ExchangeOwner::Recovery};
}

std::string LogRecovery::take(RecordsCore& c) {
    const std::string& reply = c.line.reply();
    if (reply.starts_with('$')) {
        records_.push_back(reply.substr(0, reply.find('\r')));
    } else if (++tries_ < kTriesPerRecord) {
        return {};  // asked again after the next cycle
    }
    tries_ = 0;
    return ++index_ == kStsLogRecords ? finish(c) : std::string();
}

std::string LogRecovery::finish(RecordsCore& c) {
    std::vector<Found> found;
    // Record 0 is the newest: from the oldest, so equal times keep the device's order.
    // A record the device logs while its log is read shifts the older ones up
    // by one, so one may be read at two indices: it is taken once.
    std::set<std::string_view> taken;
    for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
        const std::optional<std::int64_t> deviceAt = stsLogRecordTime(*record);
        if (!deviceAt || !taken.insert(*record).second)
            continue;
        const std::int64_t at = *deviceAt - *offset_;
        for (const Gap& gap : gaps_) {
            if (at >= gap.from - kMarginSeconds && at <= gap.to + kMarginSeconds) {
                found.push_back(
                    {at, stsLogRowText(*record), stsLogRecordEvent(*record) == 0, &gap});
                break;
            }
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.at < b.at; });
    const std::vector<Found> written = unwritten(c, std::move(found));
    const LocalDateTime now = c.platform.now();
    for (const Found& f : written)
        c.pcEvents.WritePcLog(kRecoveredEvent, f.text, dateTimeAt(f.at, now.utcOffsetSeconds));
    std::string text = summary(c, written);
    gaps_.clear();
    records_.clear();
    index_ = 0;
    return text;
}

// Without those written by an earlier recovery (110 lines of the same text)
// and the condition changes seen live (a 100 line in the same minute).
std::vector<LogRecovery::Found> LogRecovery::unwritten(RecordsCore& c,
                                                       std::vector<Found> found) const {
    if (found.empty())
        return found;
    std::map<std::string, int, std::less<>> recovered;
    std::set<std::int64_t> alarmMinutes;
    const LocalDateTime now = c.platform.now();
    LocalDateTime month = dateTimeAt(found.front().at, now.utcOffsetSeconds);
    for (int read = 0;
         read < kMaxMonthsRead &&
         (month.year < now.year || (month.year == now.year && month.month <= now.month));
         ++read) {
        eachPcLine(c, pcLogFile(c, month), [&](const PcLine& line) {
            if (line.code == kRecoveredEvent)
                ++recovered[std::string(line.text)];
            else if (line.code == 100)
                alarmMinutes.insert(line.at / 60);
        });
        month = dateTimeAt(*wallSeconds(month.year, month.month, 28, 0, 0, 0) + 5 * 86400,
                           now.utcOffsetSeconds);
    }
    std::vector<Found> left;
    for (Found& f : found) {
        const auto known = recovered.find(f.text);
        if (known != recovered.end() && known->second > 0)
            --known->second;
        else if (!(f.conditions && alarmMinutes.contains(f.at / 60)))
            left.push_back(std::move(f));
    }
    return left;
}

std::string LogRecovery::summary(const RecordsCore& c, const std::vector<Found>& written) const {
    std::string text;
    const Gap* gap = nullptr;
    for (const Found& f : written) {
        if (f.gap != gap) {
            gap = f.gap;
            text += (text.empty() ? "" : "<br>") +
                    (gap->linkLoss
                         ? "While the link to " + c.line.transport().eventName(c) + " was lost"
                         : std::string("While the monitor was not running")) +
                    " from " + wallHoursMinutes(gap->from) + " to " + wallHoursMinutes(gap->to) +
                    " the STS recorded:";
        }
        text += "<br>" + f.text;
    }
    return text;
}

}  // namespace treld
