// The link layer's state: the line to the device, the poll's shared state,
// the relay server and what the latest measurement replies said.
#pragma once

#include "foundation/base_core.h"
#include "link/line.h"
#include "link/panel_readings.h"
#include "link/program_state.h"
#include "link/relay_state.h"

namespace treld {

struct LinkCore : BaseCore {
    using BaseCore::BaseCore;

    ProgramState s;
    Line line;
    RelayState relay;
    PanelReadings readings;
};

// The glossary's name for the send: the line's send for `owner`.
inline bool GONDERME(LinkCore& c, ExchangeOwner owner, std::string command) {
    return c.line.send(c, owner, std::move(command));
}

}  // namespace treld
