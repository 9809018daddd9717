#include "platform/metrics_server.h"

#include <QHostAddress>

namespace treld {

MetricsServer::MetricsServer(std::function<std::string()> page) : page_(std::move(page)) {
    server_.route("/metrics", [this] {
        return QHttpServerResponse("text/plain; version=0.0.4; charset=utf-8",
                                   QByteArray::fromStdString(page_()));
    });
}

bool MetricsServer::listen(const QString& address, int port) {
    const QHostAddress host(address);
    return !host.isNull() && server_.listen(host, static_cast<quint16>(port)) != 0;
}

}  // namespace treld
