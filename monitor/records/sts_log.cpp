#include "records/sts_log.h"

#include <array>

#include "foundation/iso_time.h"
#include "link/command_slot.h"
#include "link/line.h"
#include "link/status_texts.h"
#include "records/records_controls.h"

namespace treld {
namespace {

constexpr std::array<std::string_view, 12> kEventTexts = {
    "",
    " Service Login-",
    " Emergency Stop-",
    " On source 1-",
    " On source 2-",
    " STS Reset-",
    "",
    " Output Shutdown-",
    " User Login-",
    " Maint. byp. to S1-",
    " Maint. byp. to S2-",
    " Short circuit-",
};

using BitTexts = std::array<std::string_view, 8>;  // bit value 1 first

constexpr BitTexts kGroupA = {" Source1 BAD-", " Source2 BAD-",      " Non synchron-",
                              " Overload-",    " Non SYNC inhibit-", " XFER inhibit-",
                              " S1 SCR open-", " S2 SCR open-"};
constexpr BitTexts kGroupB = {" DC PSP failure 1-",  " DC PSP failure 2-",  " Overtemperature-",
                              " Manual XFER to S1-", " Manual XFER to S2-", " S1 phase seq.bad-",
                              " S2 phase seq.bad-",  " Output SW off"};
constexpr BitTexts kGroupC = {" S1 input sw. off-",  " S2 input sw. off-", " S1 blackout sense-",
                              " S2 blackout sense-", " S1 freq. bad-",     " S2 freq. bad-",
                              " S1 balance bad-",    " S2 balance bad-"};

// The three-character field starting at `first` (1-based) by the
// numeric-prefix rule; 0 when the record is too short or it holds no number.
int field(std::string_view record, std::size_t first) {
    const std::optional<Int16> value =
        toInt16RoundedEven(leadingNumber(positions(record, first, 3)));
    return value.value_or(0);
}

void appendSetBits(std::string& row, int flags, const BitTexts& texts) {
    for (int bit = 0; bit < 8; ++bit) {
        if (flags & (1 << bit))
            row += texts[bit];
    }
}

void clearList(RecordsCore& c) {
    c.ui(kStsLogList).clearItems();
}

}  // namespace

std::string stsLogRowText(std::string_view record) {
    const int code = field(record, 2);
    const int groupA = field(record, 6);
    if (code == 6 && groupA == 6)
        return "Empty log record";
    const int year = field(record, 34);
    std::string row = twoDigits(field(record, 26)) + "/" + twoDigits(field(record, 30)) + "/" +
                      (year >= 0 && year <= 9 ? "200" : "20") + std::to_string(year) + "  " +
                      twoDigits(field(record, 18)) + ":" + twoDigits(field(record, 22));
    if (code >= 0 && code < int(kEventTexts.size()))
        row += kEventTexts[code];
    appendSetBits(row, groupA, kGroupA);
    appendSetBits(row, field(record, 10), kGroupB);
    appendSetBits(row, field(record, 14), kGroupC);
    return row;
}

std::optional<std::int64_t> stsLogRecordTime(std::string_view record) {
    if (field(record, 2) == 6 && field(record, 6) == 6)
        return std::nullopt;
    return wallSeconds(2000 + field(record, 34), field(record, 30), field(record, 26),
                       field(record, 18), field(record, 22), 0);
}

int stsLogRecordEvent(std::string_view record) {
    return field(record, 2);
}

PollNext LOGS(RecordsCore& c) {
    auto& log = c.log;
    if (log.LogRefresh != 0 && log.LogWaiting == 0) {
        log.LogRefresh = 0;
        log.LogIndex = 0;
    }
    if (log.LogWaiting != 1 && commandQueued(c)) {
        // Between two records, as any exchange of its own: the keep-alive
        // too, so the login does not lapse on this tab.
        return takeQueuedCommand(c);
    }
    if (log.LogIndex >= kStsLogRecords)
        return {};

    if (log.LogWaiting != 1) {
        // The send forgets any late answer to an earlier command.
        log.LogWaiting = 1;
        c.ui(kStsLogProgress)
            .setCaption("Reading record " + std::to_string(log.LogIndex + 1) + " of " +
                        std::to_string(kStsLogRecords));
        return {.command = "LOG" + threeDigits(log.LogIndex)};
    }

    const std::string& reply = c.line.reply();
    if (!reply.empty()) {
        c.statusLine.say(Said::DataOk);
        c.ui(kStsLogList).addItem(std::to_string(log.LogIndex) + "-" + stsLogRowText(reply));
        log.LogWaiting = 0;
        if (++log.LogIndex == kStsLogRecords)
            c.ui(kStsLogProgress)
                .setCaption("All " + std::to_string(kStsLogRecords) + " records read");
    } else {
        log.LogRefresh = 1;
        log.LogWaiting = 0;
        sayNoReply(c);
        c.line.countTimeOut(c);
    }
    if (log.LogRefresh != 0) {
        log.LogRefresh = 0;
        log.LogIndex = 0;
        clearList(c);
    }
    return {};
}

void restartStsLogDownload(RecordsCore& c) {
    clearList(c);
    c.log.LogWaiting = 0;
    c.log.LogRefresh = 0;
    c.log.LogIndex = 0;
}

void refreshStsLogs(RecordsCore& c) {
    clearList(c);
    c.log.LogRefresh = 1;
    c.log.LogWaiting = 0;
}

}  // namespace treld
