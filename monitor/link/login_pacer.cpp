#include "link/login_pacer.h"

#include <algorithm>
#include <functional>

namespace treld {

void LoginPacer::forgetQuietPeers(std::int64_t nowMs) {
    std::erase_if(peers_, [nowMs](const auto& entry) {
        const Peer& p = entry.second;
        return nowMs >= p.lockedUntilMs && nowMs - p.lastMs >= kLoginTryWindowMs;
    });
}

bool LoginPacer::admit(const std::string& peer, std::string_view login, std::int64_t nowMs) {
    forgetQuietPeers(nowMs);
    const bool known = peers_.contains(peer);
    if (!known && peers_.size() >= kLoginPeersKept)
        return false;
    Peer& p = peers_[peer];
    while (!p.tries.empty() && nowMs - p.tries.front().atMs >= kLoginTryWindowMs)
        p.tries.pop_front();
    const std::size_t hash = std::hash<std::string_view>{}(login);
    const auto earlier = std::ranges::find(p.tries, hash, &Try::login);
    if (earlier == p.tries.end() && p.tries.size() >= kLoginTriesAllowed) {
        p.lockedUntilMs = nowMs + kLoginLockMs;
        p.tries.clear();
    }
    if (nowMs < p.lockedUntilMs || (known && nowMs - p.lastMs < kLoginSpacingMs))
        return false;
    p.lastMs = nowMs;
    if (earlier != p.tries.end())
        p.tries.erase(earlier);
    p.tries.push_back({hash, nowMs});
    return true;
}

}  // namespace treld
