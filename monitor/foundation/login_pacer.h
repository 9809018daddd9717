// Logins through the relay server, paced per peer so that a four-digit
// password cannot be guessed by trying them all.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

namespace treld {

inline constexpr std::int64_t kLoginSpacingMs = 2'000;     // one login per peer this often
inline constexpr std::size_t kLoginTriesAllowed = 5;       // logins without a login state ...
inline constexpr std::int64_t kLoginTryWindowMs = 60'000;  // ... within this time ...
inline constexpr std::int64_t kLoginLockMs = 300'000;      // ... lock the peer out this long

class LoginPacer {
  public:
    // Whether a login from `peer` may go to the device now; an admitted one
    // counts as a try until the device reports a login (`loggedIn`).
    bool admit(const std::string& peer, std::int64_t nowMs, bool loggedIn);

  private:
    struct Peer {
        std::int64_t lastMs = 0;
        std::int64_t lockedUntilMs = 0;
        std::deque<std::int64_t> tries;  // admitted logins still without a login state
    };
    // Forgets peers that neither wait, nor are locked, nor have recent tries.
    void forgetQuietPeers(std::int64_t nowMs);

    std::map<std::string, Peer> peers_;
};

}  // namespace treld
