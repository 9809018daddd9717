#include "trends/trend_history.h"

#include <algorithm>

namespace treld {

void TrendHistory::add(ReplyGroup group, std::int64_t at,
                       const std::array<std::int16_t, kReadingFields>& numbers) {
    store(group, {at, numbers, false});
}

void TrendHistory::addLinkLost(ReplyGroup group, std::int64_t at) {
    const auto& list = samples(group);
    if (!list.empty() && list.back().linkLost && list.back().at <= at)
        return;
    store(group, {at, {}, true});
}

void TrendHistory::store(ReplyGroup group, const TrendSample& sample) {
    auto& list = samples_[static_cast<int>(group)];
    while (!list.empty() && list.back().at >= sample.at)
        list.pop_back();
    list.push_back(sample);
    while (list.front().at <= sample.at - kSpanSeconds)
        list.pop_front();
}

const TrendSample* TrendHistory::valuesAt(ReplyGroup group, std::int64_t at) const {
    const auto& list = samples(group);
    auto after = std::upper_bound(list.begin(), list.end(), at,
                                  [](std::int64_t t, const TrendSample& s) { return t < s.at; });
    if (after == list.begin())
        return nullptr;
    const TrendSample& sample = *(after - 1);
    if (sample.linkLost || at - sample.at > kQuietSeconds)
        return nullptr;
    return &sample;
}

}  // namespace treld
