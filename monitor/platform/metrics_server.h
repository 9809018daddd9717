// The /metrics endpoint: Qt HTTP Server on the Qt thread, answering each
// scrape with the page the fleet builds at that moment.
#pragma once

#include <QHttpServer>
#include <functional>
#include <string>

namespace treld {

class MetricsServer {
  public:
    explicit MetricsServer(std::function<std::string()> page);

    // False when the address is not one of this machine's or the port is taken.
    bool listen(const QString& address, int port);

  private:
    QHttpServer server_;
    std::function<std::string()> page_;
};

}  // namespace treld
