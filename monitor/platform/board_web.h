// The fleet board on the station's web endpoint: the page /fleet with its
// assets, the board as JSON (/api/v1/fleet) and its stream
// (/api/v1/fleet/stream), which sends the whole board, sorted, at each change.
// Everything here only reads the board.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "fleet/fleet_board.h"
#include "platform/event_stream.h"
#include "platform/http_server.h"

namespace treld {

class BoardWeb {
  public:
    // `now`: the clock in seconds since 1970 that ages are counted against.
    BoardWeb(HttpServer& server, const FleetBoard& board, std::function<std::int64_t()> now);

    // While viewers watch, the board is looked at this often and sent when it
    // changed: a burst of messages costs one board, and a message reaches the
    // viewers within this time of its arrival.
    static constexpr int kWatchMs = 250;

  private:
    QByteArray boardJson() const;
    void watch();

    const FleetBoard& board_;
    std::function<std::int64_t()> now_;
    EventStream stream_;
    QTimer watch_;
    std::uint64_t sent_ = 0;  // the version the viewers have
};

}  // namespace treld
