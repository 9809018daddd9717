#include "trends/decimation.h"

#include <algorithm>

namespace treld {
namespace {

// The lowest and highest point of one field in the current bucket.
struct Extremes {
    PlotPoint low{0, 0};
    PlotPoint high{0, 0};
    bool any = false;

    void take(std::int64_t at, std::int16_t number) {
        if (!any || number < low.number)
            low = {at, number};
        if (!any || number > high.number)
            high = {at, number};
        any = true;
    }
    void flushInto(std::vector<PlotPoint>& points) {
        if (!any)
            return;
        const auto [first, second] =
            std::minmax(low, high, [](const auto& a, const auto& b) { return a.at < b.at; });
        points.push_back(first);
        if (second.at != first.at)
            points.push_back(second);
        any = false;
    }
};

void addGap(std::vector<TimeSpan>& gaps, TimeSpan gap, std::int64_t join) {
    if (!gaps.empty() && gap.from - gaps.back().to < join) {
        gaps.back().to = std::max(gaps.back().to, gap.to);
        return;
    }
    gaps.push_back(gap);
}

}  // namespace

ReplyPlot plotReply(const std::deque<TrendSample>& samples, std::int64_t from, std::int64_t to,
                    int buckets) {
    ReplyPlot plot;
    if (to < from || buckets < 1)
        return plot;
    const std::int64_t length = to - from + 1;
    const std::int64_t bucketSeconds = std::max<std::int64_t>(1, length / buckets);

    // Start one sample early: it tells whether the range opens inside a gap.
    auto first = std::lower_bound(samples.begin(), samples.end(), from,
                                  [](const TrendSample& s, std::int64_t t) { return s.at < t; });
    if (first != samples.begin())
        --first;

    std::array<Extremes, kReadingFields> extremes{};
    std::int64_t bucket = -1;
    const TrendSample* previous = nullptr;
    std::int64_t lostSince = -1;
    for (auto it = first; it != samples.end() && it->at <= to; ++it) {
        const TrendSample& sample = *it;
        if (sample.linkLost) {
            if (lostSince < 0)
                lostSince = std::max(sample.at, from);
            previous = &sample;
            continue;
        }
        if (lostSince >= 0) {
            addGap(plot.gaps, {lostSince, sample.at}, bucketSeconds);
            lostSince = -1;
        } else if (previous != nullptr && sample.at - previous->at > TrendHistory::kQuietSeconds &&
                   sample.at > from) {
            addGap(plot.gaps, {std::max(previous->at, from), sample.at}, bucketSeconds);
        }
        previous = &sample;
        if (sample.at < from)
            continue;
        const std::int64_t sampleBucket =
            std::min<std::int64_t>((sample.at - from) * buckets / length, buckets - 1);
        if (sampleBucket != bucket) {
            for (std::size_t f = 0; f < kReadingFields; ++f)
                extremes[f].flushInto(plot.fields[f]);
            bucket = sampleBucket;
        }
        for (std::size_t f = 0; f < kReadingFields; ++f) {
            if (sample.numbers[f] != kNotANumber)
                extremes[f].take(sample.at, sample.numbers[f]);
        }
    }
    for (std::size_t f = 0; f < kReadingFields; ++f)
        extremes[f].flushInto(plot.fields[f]);

    if (lostSince >= 0) {
        addGap(plot.gaps, {lostSince, to}, bucketSeconds);
    } else if (previous != nullptr && to - previous->at > TrendHistory::kQuietSeconds) {
        addGap(plot.gaps, {std::max(previous->at, from), to}, bucketSeconds);
    }
    return plot;
}

}  // namespace treld
