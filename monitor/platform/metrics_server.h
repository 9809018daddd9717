// The /metrics endpoint: a small HTTP/1.1 server on the Qt thread, answering
// each scrape with the page the fleet builds at that moment. Every client is
// bounded: the size of its request, the time it takes, how many may connect.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "platform/listener.h"

namespace treld {

class MetricsServer {
  public:
    explicit MetricsServer(std::function<std::string()> page);

    // False when the address is not one of this machine's or the port is taken.
    bool listen(const QString& address, int port);

    // Scrapers connected at once; more are closed on arrival.
    static constexpr int kMaxConnections = 32;
    // A request line and headers longer than this get 431 and the connection closes.
    static constexpr int kMaxRequestBytes = 8192;
    // Each request must arrive, and its reply be taken, within this time of the
    // connection or of the previous reply: a slow or idle client is closed.
    static constexpr int kRequestTimeMs = 5000;

  private:
    Listener listener_;
    std::function<std::string()> page_;
};

}  // namespace treld
