// What the device logged while nobody watched: after a lost link (from its
// "Link lost" line to its "Link restored") and while the monitor was not
// running (from the last line of the PC event files to the start), the
// device's 128 log records are read in the background, one "LOG" exchange
// per measurement cycle that read the device's clock, and those of the gap
// (a minute's margin each side) become PC event lines 110, stamped with the
// record's time on the PC's clock, in time order, each written once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/platform.h"
#include "link/poll_timer.h"

namespace treld {

struct RecordsCore;

inline constexpr Int16 kRecoveredEvent = 110;

class LogRecovery {
  public:
    // The link was lost, or is back (the PC's time of its event line).
    void linkLost(const LocalDateTime& at);
    void linkRestored(const LocalDateTime& at);
    // Before "Program start": the time since the last line of the PC event
    // files is a gap.
    void monitorStarting(RecordsCore& c);

    // The measurement cycle read the device's clock (CLK), then its date
    // (DAT): the device's offset from the PC's clock, and a LOG request is due.
    void deviceTime(std::string_view reply);
    void deviceDate(std::string_view reply, const LocalDateTime& now);

    // After a measurement cycle, with nothing else for the line: the next
    // request, or none.
    PollNext next(bool simulated);
    // The outcome of that request (the line's reply, empty when none came).
    // After the last record: the lines are written, and the text for the
    // mail is returned ("" when nothing was recovered).
    std::string take(RecordsCore& c);

  private:
    struct Gap {
        std::int64_t from = 0;  // the PC's wall clock, wallSeconds()
        std::int64_t to = 0;
        bool linkLoss = true;  // else the monitor was not running
    };
    struct Found {
        std::int64_t at;  // on the PC's clock
        std::string text;
        bool conditions;  // a change of the alarm conditions
        const Gap* gap;
    };
    std::string finish(RecordsCore& c);
    std::vector<Found> unwritten(RecordsCore& c, std::vector<Found> found) const;
    std::string summary(const RecordsCore& c, const std::vector<Found>& written) const;

    static constexpr std::size_t kMaxGaps = 16;  // older ones merge into one

    std::vector<Gap> gaps_;
    std::optional<std::int64_t> lostAt_;
    std::optional<std::int64_t> clock_;   // the device's time of day, seconds
    std::optional<std::int64_t> offset_;  // device minus PC, seconds
    bool due_ = false;                    // a cycle read the clock since the last request
    int index_ = 0;                       // the next record to read
    int tries_ = 0;                       // of that record
    std::vector<std::string> records_;
};

}  // namespace treld
