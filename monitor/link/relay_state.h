// The relay server's state: its client connections, the forwarded commands
// waiting for the device and the one in flight. Only the relay server
// (link/relay_server.cpp, through its friend RelayServer) changes it; the
// poll cycle asks it what is due.
#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <string>

#include "foundation/numeric.h"
#include "foundation/relay_access.h"
#include "link/login_pacer.h"
#include "link/refusal_audit.h"

namespace treld {

// Relay server connection slots 1..15 (slot 0 is the listener).
inline constexpr int kRelaySlotCount = 15;

class RelayState {
  public:
    // Who may read and who may command, from relay.cfg at start-up.
    RelayAccess access;

    // A forwarded command waits to be written to the device.
    bool RelayPending() const { return !queue_.empty(); }
    // One may go out now: the status record was read (or the cycle started
    // again before it) since the last one, so at most one forwarded command's
    // wait falls between two status reads whatever the load.
    bool forwardDue() const { return RelayPending() && statusRead_; }
    // Clients holding a connection slot now.
    int clientCount() const {
        return static_cast<int>(
            std::count_if(slots_.begin() + 1, slots_.end(),
                          [](const Slot& slot) { return slot.state != SlotState::Free; }));
    }

  private:
    friend class RelayServer;

    // Where a client's connection stands: collecting its request up to the
    // CR, waiting for the device (queued or in flight), or answered and closing.
    enum class SlotState { Free, Collecting, Waiting, Answered };

    struct Slot {
        SlotState state = SlotState::Free;
        std::string request;
        std::string peer;       // the client's address
        Int16 idleSeconds = 0;  // since the client last sent something or was answered
    };

    struct Request {
        Int16 slot;
        std::string command;
    };

    std::array<Slot, kRelaySlotCount + 1> slots_;  // 1..15
    std::deque<Request> queue_;                    // in arrival order
    bool statusRead_ = true;
    LoginPacer logins_;
    RefusalAudit refusals_;
    bool listening_ = false;
    int secondsToRetry_ = 0;   // while not listening
    std::string problemSaid_;  // on stderr, last
    Int16 RelayClient = 0;     // slot of the command in flight; 0 once its client has gone
    Int16 ServerSlot = 0;      // the slot last given to an accepted client
};

}  // namespace treld
