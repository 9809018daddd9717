// How often refused relay requests reach the PC event file (and the broker,
// which gets every event): a peer's first refusal is a line of its own, the
// ones after it are counted and summed up once a minute, so a client that
// keeps trying costs a line a minute, not one per request.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace treld {

inline constexpr std::int64_t kRefusalSummaryMs = 60'000;
// Peers counted one by one; refusals of further peers are counted together.
inline constexpr std::size_t kRefusalPeersKept = 64;
// The name the summary gives those further peers.
inline constexpr const char* kOtherPeers = "other hosts";

class RefusalAudit {
  public:
    // A request of `peer` was refused: true when it gets a line of its own
    // (the peer's first refusal, or the first after a minute without any).
    bool refused(const std::string& peer, std::int64_t nowMs);

    struct Summary {
        std::string peer;  // or kOtherPeers
        int count;         // refusals since the peer's last line
    };
    // Every second: the summaries whose minute is over.
    std::vector<Summary> dueSummaries(std::int64_t nowMs);

  private:
    struct Peer {
        std::int64_t sinceMs;  // of the peer's last line
        int count;             // refusals since then
    };
    std::map<std::string, Peer> peers_;  // at most kRefusalPeersKept and kOtherPeers
};

}  // namespace treld
