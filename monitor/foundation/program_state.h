// The program-wide state of the link and the poll cycle.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "foundation/numeric.h"

namespace treld {

// One line of the demo answer table; the seven poll commands also keep the
// latest device reply for the relay server.
struct CommandTableEntry {
    std::string TableCommand;
    std::string DemoReply;
    Int16 TableActive = 0;
    std::string CachedReply;
};

inline constexpr int kCommandTableSize = 50;

// Relay server connection slots 1..15 (slot 0 is the listener).
inline constexpr int kRelaySlotCount = 15;

// Where a relay client's connection stands: collecting its request up to the
// CR, waiting for the device (queued or in flight), or answered and closing.
enum class RelaySlotState { Free, Collecting, Waiting, Answered };

struct RelaySlot {
    RelaySlotState state = RelaySlotState::Free;
    std::string request;
    Int16 idleSeconds = 0;  // since the client last sent something or was answered
};

// A relay client's command that must go to the device, in arrival order.
struct RelayRequest {
    Int16 slot;
    std::string command;
};

// PollState values besides "" (normal polling) and a queued command text.
inline constexpr std::string_view kPause = "PAUSE";
inline constexpr std::string_view kAwaiting = "BEKLE";

struct ProgramState {
    Int16 DemoMode = 0;
    Int16 RemoteMode = 0;
    std::string RemoteAddress;
    std::string Command = "SRV";
    std::string ReceiveBuffer;
    std::string Reply;
    Int16 PollStep = 1;
    std::string PollState;
    Int16 LastTab = 0;
    Int16 OptionsRefresh = 0;
    Int16 LogRefresh = 0;
    Int16 ComReady = 0;
    std::string CheckedCommand;
    std::string RelayCommand;
    Int16 RelayClient = 0;
    Int16 RelayPending = 0;
    Int16 ServerSlot = 0;
    std::string TcpReceiveBuffer;
    std::array<RelaySlot, kRelaySlotCount + 1> RelaySlots;  // slots 1..15
    std::deque<RelayRequest>
        RelayQueue;                     // forwarded commands not yet sent; RelayPending mirrors it
    std::vector<Int16> StationNumbers;  // item number of each List3 entry
    std::array<CommandTableEntry, kCommandTableSize + 1> CommandTable;  // entries 1..50
    std::string ProgramVersion;
    Int16 PcLogEventCode = 0;
    std::string PcLogEventText;
};

}  // namespace treld
