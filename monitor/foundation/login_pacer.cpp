#include "foundation/login_pacer.h"

namespace treld {

void LoginPacer::forgetQuietPeers(std::int64_t nowMs) {
    std::erase_if(peers_, [nowMs](const auto& entry) {
        const Peer& p = entry.second;
        return nowMs >= p.lockedUntilMs && nowMs - p.lastMs >= kLoginTryWindowMs;
    });
}

bool LoginPacer::admit(const std::string& peer, std::int64_t nowMs, bool loggedIn) {
    forgetQuietPeers(nowMs);
    const bool known = peers_.contains(peer);
    Peer& p = peers_[peer];
    if (loggedIn)
        p.tries.clear();  // the earlier tries led to a login
    while (!p.tries.empty() && nowMs - p.tries.front() >= kLoginTryWindowMs)
        p.tries.pop_front();
    if (p.tries.size() >= kLoginTriesAllowed) {
        p.lockedUntilMs = nowMs + kLoginLockMs;
        p.tries.clear();
    }
    if (nowMs < p.lockedUntilMs || (known && nowMs - p.lastMs < kLoginSpacingMs))
        return false;
    p.lastMs = nowMs;
    p.tries.push_back(nowMs);
    return true;
}

}  // namespace treld
