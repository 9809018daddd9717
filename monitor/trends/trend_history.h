// The measurement history of the last 24 hours: for each of the two
// measurement replies at most one sample per second, a lost reply kept as a
// gap. Times are seconds since 1970 UTC, so a change of the local time's
// offset moves nothing.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "link/panel_readings.h"

namespace treld {

struct TrendSample {
    std::int64_t at = 0;
    std::array<std::int16_t, kReadingFields> numbers{};  // as in PanelReading
    bool linkLost = false;
};

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
