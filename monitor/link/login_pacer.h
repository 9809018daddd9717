// Logins through the relay server, paced per peer so that a four-digit
// password cannot be guessed by trying them all.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>

namespace treld {

inline constexpr std::int64_t kLoginSpacingMs = 2'000;     // one login per peer this often
inline constexpr std::size_t kLoginTriesAllowed = 5;       // different logins ...
inline constexpr std::int64_t kLoginTryWindowMs = 60'000;  // ... within this time ...
inline constexpr std::int64_t kLoginLockMs = 300'000;      // ... lock the peer out this long
// Peers paced at a time; a further one's logins are refused until some fall quiet.
inline constexpr std::size_t kLoginPeersKept = 1024;

class LoginPacer {
  public:
    // Whether `login` (its letter and password) from `peer` may go to the
    // device now. A guess is a login that differs from the peer's earlier
    // ones: the keep-alive of a logged-in monitor repeats its own and is never
    // locked out, while guessing wears out the tries whatever the device's
    // login state.
    bool admit(const std::string& peer, std::string_view login, std::int64_t nowMs);

  private:
    struct Try {
        std::size_t login;  // a hash: the guesses themselves are not kept
        std::int64_t atMs;
    };
    struct Peer {
        std::int64_t lastMs = 0;
        std::int64_t lockedUntilMs = 0;
        std::deque<Try> tries;  // different logins within kLoginTryWindowMs, oldest first
    };
    // Forgets peers that neither wait, nor are locked, nor have recent tries.
    void forgetQuietPeers(std::int64_t nowMs);

    std::map<std::string, Peer> peers_;
};

}  // namespace treld
