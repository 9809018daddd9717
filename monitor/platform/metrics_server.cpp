#include "platform/metrics_server.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace treld {
namespace {

struct Reply {
    QByteArray status;  // "200 OK"
    QByteArray body;
    bool close = false;  // the connection ends after it
};

// The header field `name` (lower case) of a request head, empty when absent.
QByteArray field(const QList<QByteArray>& lines, const QByteArray& name) {
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0 && lines[i].left(colon).trimmed().toLower() == name)
            return lines[i].mid(colon + 1).trimmed().toLower();
    }
    return {};
}

// The answer to one request head (without its closing empty line). A body is
// never read: a request announcing one ends its connection.
Reply answer(const QByteArray& head, const std::function<std::string()>& page) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> request = lines[0].trimmed().split(' ');
    if (request.size() != 3 || !request[2].startsWith("HTTP/1."))
        return {"400 Bad Request", "Bad request\n", true};
    const QByteArray connection = field(lines, "connection");
    const bool close = request[2] == "HTTP/1.0" || connection.contains("close") ||
                       !field(lines, "transfer-encoding").isEmpty() ||
                       field(lines, "content-length").toLongLong() != 0;
    if (request[0] != "GET" && request[0] != "HEAD")
        return {"405 Method Not Allowed", "Only GET\n", close};
    if (request[1] != "/metrics" && !request[1].startsWith("/metrics?"))
        return {"404 Not Found", "Not found\n", close};
    return {"200 OK", QByteArray::fromStdString(page()), close};
}

// One client: requests one at a time, each answered once the previous reply
// is written, so neither side's buffer grows past one request and one page.
class Connection : public QObject {
  public:
    Connection(QTcpSocket* socket, const std::function<std::string()>& page)
        : QObject(socket), socket_(socket), page_(page) {
        socket->setReadBufferSize(MetricsServer::kMaxRequestBytes);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, &Connection::serve);
        connect(socket, &QTcpSocket::bytesWritten, this, [this] {
            if (socket_->bytesToWrite() > 0 || closing_)
                return;
            deadline_.start(MetricsServer::kRequestTimeMs);
            serve();  // a request that came meanwhile
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        deadline_.start(MetricsServer::kRequestTimeMs);
    }

  private:
    void serve() {
        if (closing_ || socket_->bytesToWrite() > 0)
            return;
        head_ += socket_->read(MetricsServer::kMaxRequestBytes - head_.size());
        const qsizetype end = head_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (head_.size() >= MetricsServer::kMaxRequestBytes)
                send({"431 Request Header Fields Too Large", "Request too large\n", true}, false);
            return;
        }
        const QByteArray request = head_.left(end);
        head_.remove(0, end + 4);
        send(answer(request, page_), request.startsWith("HEAD "));
    }

    void send(const Reply& reply, bool headOnly) {
        QByteArray text = "HTTP/1.1 " + reply.status +
                          "\r\nContent-Type: text/plain; version=0.0.4; charset=utf-8"
                          "\r\nContent-Length: " +
                          QByteArray::number(reply.body.size()) + "\r\n";
        if (reply.close)
            text += "Connection: close\r\n";
        text += "\r\n";
        if (!headOnly)
            text += reply.body;
        socket_->write(text);
        if (reply.close) {
            closing_ = true;
            socket_->disconnectFromHost();  // once the reply is written
        }
    }

    QTcpSocket* socket_;
    const std::function<std::string()>& page_;
    QByteArray head_;
    QTimer deadline_;
    bool closing_ = false;
};

}  // namespace

MetricsServer::MetricsServer(std::function<std::string()> page)
    : listener_(QStringLiteral("Metrics"), kMaxConnections), page_(std::move(page)) {
    QObject::connect(&listener_, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = listener_.nextPendingConnection())
            new Connection(socket, page_);
    });
}

bool MetricsServer::listen(const QString& address, int port) {
    const QHostAddress host(address);
    return !host.isNull() && listener_.listen(host, static_cast<quint16>(port));
}

}  // namespace treld
