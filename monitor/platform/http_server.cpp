#include "platform/http_server.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QUrl>
#include <chrono>

#include "platform/event_stream.h"

namespace treld {
namespace {

QByteArray statusLine(int status) {
    switch (status) {
        case 200:
            return "200 OK";
        case 400:
            return "400 Bad Request";
        case 403:
            return "403 Forbidden";
        case 404:
            return "404 Not Found";
        case 405:
            return "405 Method Not Allowed";
        case 431:
            return "431 Request Header Fields Too Large";
        case 503:
            return "503 Service Unavailable";
        default:
            return QByteArray::number(status) + " Error";
    }
}

// The header field `name` (lower case) of a request head, empty when absent.
QByteArray field(const QList<QByteArray>& lines, const QByteArray& name) {
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0 && lines[i].left(colon).trimmed().toLower() == name)
            return lines[i].mid(colon + 1).trimmed().toLower();
    }
    return {};
}

// Whether a Host header names this PC's loopback (or is absent, as HTTP/1.0
// allows). A browser on this PC may be led to a hostile name that resolves to
// 127.0.0.1 (DNS rebinding): a loopback listener serves no other name.
bool namesLoopback(const QByteArray& host) {
    const qsizetype colon = host.lastIndexOf(':');
    QByteArray name = colon > host.lastIndexOf(']') ? host.left(colon) : host;
    if (name.startsWith('[') && name.endsWith(']'))
        name = name.mid(1, name.size() - 2);
    return name.isEmpty() || name == "localhost" ||
           QHostAddress(QString::fromLatin1(name)).isLoopback();
}

}  // namespace

HttpServer::Handler resourceFile(const QString& name, const QByteArray& type) {
    QFile file(":/web/" + name);
    file.open(QIODevice::ReadOnly);
    const QByteArray body = file.readAll();
    return [body, type](const HttpRequest&) { return HttpReply{200, type, body}; };
}

HttpReply errorReply(int status, const QString& text) {
    const QJsonObject error{{"status", status}, {"error", text}};
    return {status, "application/json", QJsonDocument(error).toJson(QJsonDocument::Compact) + "\n"};
}

// One client: requests one at a time, each answered once the previous reply
// is written, so neither side's buffer grows past one request and one reply.
// A request for a stream hands the socket to the stream for good.
class HttpServer::Connection : public QObject {
  public:
    Connection(QTcpSocket* socket, HttpServer& server)
        : QObject(socket), socket_(socket), server_(server) {
        socket->setReadBufferSize(kMaxRequestBytes);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, &Connection::serve);
        connect(socket, &QTcpSocket::bytesWritten, this, [this] {
            if (socket_->bytesToWrite() > 0 || closing_)
                return;
            deadline_.start(kRequestTimeMs);
            serve();  // a request that came meanwhile
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        deadline_.start(kRequestTimeMs);
        server_.requesting_.push_back(this);
    }
    ~Connection() override { server_.requesting_.remove(this); }

    std::chrono::steady_clock::duration age() const {
        return std::chrono::steady_clock::now() - arrived_;
    }

    void close() {
        server_.requesting_.remove(this);
        socket_->abort();
        socket_->deleteLater();
    }

  private:
    void serve() {
        if (closing_ || socket_->bytesToWrite() > 0)
            return;
        head_ += socket_->read(kMaxRequestBytes - head_.size());
        const qsizetype end = head_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (head_.size() >= kMaxRequestBytes)
                send(errorReply(431, "Request too large"), true, false);
            return;
        }
        const QByteArray head = head_.left(end);
        head_.remove(0, end + 4);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> words = lines[0].trimmed().split(' ');
        if (words.size() != 3 || !words[2].startsWith("HTTP/1.")) {
            send(errorReply(400, "Bad request"), true, false);
            return;
        }
        // A body is never read: a request announcing one ends its connection.
        const bool close = words[2] == "HTTP/1.0" || field(lines, "connection").contains("close") ||
                           !field(lines, "transfer-encoding").isEmpty() ||
                           field(lines, "content-length").toLongLong() != 0;
        const QUrl url = QUrl::fromEncoded("http://station" + words[1]);
        HttpRequest request{words[0], url.path(QUrl::FullyEncoded).toLatin1(), QUrlQuery(url)};
        EventStream* stream = nullptr;
        const HttpReply reply =
            server_.loopbackOnly_ && !namesLoopback(field(lines, "host"))
                ? errorReply(403,
                             "Open it as http://127.0.0.1:" + QString::number(server_.port()) + "/")
                : server_.answer(request, &stream);
        if (stream == nullptr) {
            send(reply, close, request.method == "HEAD");
            return;
        }
        socket_->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
            "Cache-Control: no-store\r\nX-Accel-Buffering: no\r\n\r\n");
        // The stream owns the socket from here: no deadline, no further request.
        deadline_.stop();
        disconnect(socket_, nullptr, this, nullptr);
        stream->subscribe(socket_);
        deleteLater();
    }

    void send(const HttpReply& reply, bool close, bool headOnly) {
        QByteArray text = "HTTP/1.1 " + statusLine(reply.status) +
                          "\r\nContent-Type: " + reply.contentType +
                          "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                          "\r\nCache-Control: no-store\r\n";
        if (close)
            text += "Connection: close\r\n";
        text += "\r\n";
        if (!headOnly)
            text += reply.body;
        socket_->write(text);
        if (close) {
            closing_ = true;
            socket_->disconnectFromHost();  // once the reply is written
        }
    }

    QTcpSocket* socket_;
    HttpServer& server_;
    QByteArray head_;
    QTimer deadline_;
    bool closing_ = false;
    std::chrono::steady_clock::time_point arrived_ = std::chrono::steady_clock::now();
};

HttpServer::HttpServer() : listener_(QStringLiteral("HTTP"), 2 * kMaxConnections + kMaxStreams) {
    listener_.makeRoom = [this] { return displaceIdle(); };
    QObject::connect(&listener_, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = listener_.nextPendingConnection())
            accept(socket);
    });
}

HttpServer::~HttpServer() {
    listener_.close();
}

void HttpServer::route(const QByteArray& path, Handler handler) {
    routes_[path] = std::move(handler);
}

void HttpServer::stream(const QByteArray& path, EventStream& stream) {
    streams_[path] = &stream;
}

bool HttpServer::listen(const QString& address, int port, Access mayRead) {
    mayRead_ = std::move(mayRead);
    const QHostAddress host(address);
    loopbackOnly_ = host.isLoopback();
    return !host.isNull() && listener_.listen(host, static_cast<quint16>(port));
}

void HttpServer::accept(QTcpSocket* socket) {
    // A listener on "::" sees IPv4 peers as ::ffff:a.b.c.d; the rules name them as a.b.c.d.
    bool v4 = false;
    const quint32 ipv4 = socket->peerAddress().toIPv4Address(&v4);
    const QString peer = v4 ? QHostAddress(ipv4).toString() : socket->peerAddress().toString();
    if (mayRead_ && !mayRead_(peer)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (requesting_.size() >= kMaxConnections && !displaceIdle()) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    new Connection(socket, *this);
}

bool HttpServer::displaceIdle() {
    // A burst of clients is not the idle ones' fault: the newcomer goes then.
    if (requesting_.empty() ||
        requesting_.front()->age() < std::chrono::milliseconds(kIdleBeforeDisplacedMs))
        return false;
    requesting_.front()->close();
    return true;
}

HttpReply HttpServer::answer(const HttpRequest& request, EventStream** stream) const {
    if (request.method != "GET" && request.method != "HEAD")
        return errorReply(405, "Only GET and HEAD: this endpoint only reads");
    if (const auto found = streams_.find(request.path); found != streams_.end()) {
        if (request.method == "HEAD")
            return {200, "text/event-stream", {}};
        if (found->second->subscribers() >= kMaxStreams)
            return errorReply(503, "Too many viewers");
        *stream = found->second;
        return {};
    }
    const auto found = routes_.find(request.path);
    if (found == routes_.end())
        return errorReply(404, "Not found");
    return found->second(request);
}

}  // namespace treld
