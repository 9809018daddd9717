// The measurement history of the last 24 hours: for each of the two
// measurement replies at most one sample per second, a lost reply kept as a
// gap. Times are seconds since 1970 UTC, so a change of the local time's
// offset moves nothing.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string_view>

#include "foundation/panel_readings.h"

namespace treld {

enum class ReplyGroup { Source, Output };  // "SRV", "OPL"
inline constexpr int kReplyGroups = 2;

struct TrendSample {
    std::int64_t at = 0;
    std::array<std::int16_t, kReadingFields> numbers{};  // as in PanelReading
    bool linkLost = false;
};

// One recorded value: its reply and field, its name and unit, and the
// divisor from the reply's number to the unit (10 for the frequencies).
struct TrendQuantity {
    ReplyGroup group;
    int field;
    std::string_view name;
    std::string_view unit;
    int divisor;
};

inline constexpr std::array<TrendQuantity, 2 * kReadingFields> kTrendQuantities = {{
    {ReplyGroup::Source, 0, "S1 L1", "V", 1},
    {ReplyGroup::Source, 1, "S1 L2", "V", 1},
    {ReplyGroup::Source, 2, "S1 L3", "V", 1},
    {ReplyGroup::Source, 3, "S2 L1", "V", 1},
    {ReplyGroup::Source, 4, "S2 L2", "V", 1},
    {ReplyGroup::Source, 5, "S2 L3", "V", 1},
    {ReplyGroup::Source, 6, "S1 frequency", "Hz", 10},
    {ReplyGroup::Source, 7, "S2 frequency", "Hz", 10},
    {ReplyGroup::Output, 0, "Load L1", "%", 1},
    {ReplyGroup::Output, 1, "Load L2", "%", 1},
    {ReplyGroup::Output, 2, "Load L3", "%", 1},
    {ReplyGroup::Output, 3, "Current L1", "A", 1},
    {ReplyGroup::Output, 4, "Current L2", "A", 1},
    {ReplyGroup::Output, 5, "Current L3", "A", 1},
    {ReplyGroup::Output, 6, "Temperature", "C", 1},
    {ReplyGroup::Output, 7, "SYNC angle", "deg", 1},
}};

class TrendHistory {
  public:
    static constexpr std::int64_t kSpanSeconds = 24 * 3600;
    // Samples further apart than this have a gap between them: the monitor
    // was not running, or a relay had nothing to give.
    static constexpr std::int64_t kQuietSeconds = 30;

    // A reply's numbers at `at`. A second sample within the same second
    // replaces the first; a sample before the newest one means the PC clock
    // was set back, and the samples after it go.
    void add(ReplyGroup group, std::int64_t at,
             const std::array<std::int16_t, kReadingFields>& numbers);
    // The reply timed out at `at`; a loss right after a loss adds nothing.
    void addLinkLost(ReplyGroup group, std::int64_t at);

    const std::deque<TrendSample>& samples(ReplyGroup group) const {
        return samples_[static_cast<int>(group)];
    }
    // The values that stood at `at`: the sample at or before it unless that
    // one is a loss or older than kQuietSeconds; null otherwise.
    const TrendSample* valuesAt(ReplyGroup group, std::int64_t at) const;

  private:
    void store(ReplyGroup group, const TrendSample& sample);

    std::array<std::deque<TrendSample>, kReplyGroups> samples_;
};

}  // namespace treld
