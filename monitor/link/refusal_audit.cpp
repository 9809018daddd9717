#include "link/refusal_audit.h"

namespace treld {

bool RefusalAudit::refused(const std::string& peer, std::int64_t nowMs) {
    const bool counted = peers_.contains(peer) || peers_.size() < kRefusalPeersKept;
    const auto [entry, first] = peers_.try_emplace(counted ? peer : kOtherPeers, Peer{nowMs, 0});
    if (!first)
        ++entry->second.count;
    return first;
}

std::vector<RefusalAudit::Summary> RefusalAudit::dueSummaries(std::int64_t nowMs) {
    std::vector<Summary> due;
    for (auto it = peers_.begin(); it != peers_.end();) {
        Peer& p = it->second;
        if (nowMs - p.sinceMs < kRefusalSummaryMs) {
            ++it;
        } else if (p.count == 0) {
            it = peers_.erase(it);  // quiet for a minute: its next refusal is news again
        } else {
            due.push_back({it->first, p.count});
            p = {nowMs, 0};
            ++it;
        }
    }
    return due;
}

}  // namespace treld
