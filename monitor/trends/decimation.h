// What the trend charts draw of one reply over a time range: each field's
// points reduced to the lowest and highest of every bucket, so a spike of one
// second still shows at 24 hours, and the spans where the link was down.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "trends/trend_history.h"

namespace treld {

struct PlotPoint {
    std::int64_t at;
    std::int16_t number;
    bool operator==(const PlotPoint&) const = default;
};

struct TimeSpan {
    std::int64_t from;
    std::int64_t to;
    bool operator==(const TimeSpan&) const = default;
};

struct ReplyPlot {
    std::array<std::vector<PlotPoint>, kReadingFields> fields;
    std::vector<TimeSpan> gaps;
};

// [from, to] in `buckets` equal buckets (one per pixel): at most two points
// per bucket and field, in time order. Gaps are lost replies until the next
// value and stretches without samples longer than TrendHistory::kQuietSeconds;
// gaps less than a bucket apart are joined.
ReplyPlot plotReply(const std::deque<TrendSample>& samples, std::int64_t from, std::int64_t to,
                    int buckets);

}  // namespace treld
