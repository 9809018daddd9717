// The program-wide state of the poll cycle; the exchange itself is the
// line's (link/line.h).
#pragma once

#include <array>
#include <cstdint>
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

// Who sent the command now on the line. Its reply, or its time-out, goes to
// that party alone, and nobody else sends before it has been taken.
enum class ExchangeOwner : std::uint8_t {
    None,        // nothing awaited
    Cycle,       // the cycle of the open tab
    Operator,    // a queued operator command (PollState "BEKLE")
    Relay,       // a relay client's forwarded command
    Login,       // the login dialog's own command
    StatusPoll,  // the status read that the login's verdict waits for
    Recovery,    // a record of the device's log read after a gap (LogRecovery)
};

struct ProgramState {
    Int16 PollStep = 1;     // written by conductor/poll_tick.cpp only
    std::string PollState;  // written by link/command_slot.cpp only
    // The last command queued and how the status line names its reply; the
    // login keep-alive, whose "OK" is shown nowhere.
    std::string namedCommand;
    std::string commandName;
    std::string keepAliveCommand;
    Int16 LastTab = 0;
    std::string CheckedCommand;
    std::vector<Int16> stationNumbers;  // item number of each List3 entry
    std::array<CommandTableEntry, kCommandTableSize + 1> CommandTable;  // entries 1..50
    std::string ProgramVersion;
};

}  // namespace treld
