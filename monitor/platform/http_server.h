// The station's HTTP endpoint: a small HTTP/1.1 server on the Qt thread that
// answers GET and HEAD from a table of routes, and keeps event streams open
// (text/event-stream). Nothing it serves can act on the device: a route is a
// function of the request that returns a reply, and no route is given more
// than a read-only view of the station.
//
// Every client is bounded: the size of its request, the time it takes, how
// many may connect; a stream by the bytes it leaves unread (event_stream.h).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrlQuery>
#include <functional>
#include <list>
#include <map>

#include "platform/listener.h"

namespace treld {

class EventStream;

struct HttpRequest {
    QByteArray method;  // GET or HEAD
    QByteArray path;    // without the query
    QUrlQuery query;
};

struct HttpReply {
    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
};

// An error as the API gives it: {"status":400,"error":"..."}.
HttpReply errorReply(int status, const QString& text);

class HttpServer {
  public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;
    // Who may read, by the peer's address (relay.cfg's READ: rules).
    using Access = std::function<bool(const QString& peer)>;

    HttpServer();
    ~HttpServer();

    // GET `path` (and HEAD) answered by `handler`.
    void route(const QByteArray& path, Handler handler);
    // GET `path` subscribes to `stream` until the client leaves or falls behind.
    void stream(const QByteArray& path, EventStream& stream);

    // False when the address is not one of this machine's or the port is taken.
    bool listen(const QString& address, int port, Access mayRead);
    quint16 port() const { return listener_.serverPort(); }

    // Clients with a request under way or awaited at once; on a further one
    // the oldest of them is closed once it has waited kIdleBeforeDisplacedMs
    // (else the newcomer is), so idle connections cannot lock others out.
    static constexpr int kMaxConnections = 32;
    static constexpr int kIdleBeforeDisplacedMs = 1000;
    // Open event streams; a further subscriber gets 503.
    static constexpr int kMaxStreams = 64;
    // A request line and headers longer than this get 431 and the connection closes.
    static constexpr int kMaxRequestBytes = 8192;
    // Each request must arrive, and its reply be taken, within this time of the
    // connection or of the previous reply: a slow or idle client is closed.
    static constexpr int kRequestTimeMs = 5000;

  private:
    class Connection;
    friend class Connection;
    void accept(QTcpSocket* socket);
    // Closes the oldest client still without its request if it has waited long enough.
    bool displaceIdle();
    // The reply to a request head; nullptr stream when it is not one.
    HttpReply answer(const HttpRequest& request, EventStream** stream) const;

    std::map<QByteArray, Handler> routes_;
    std::map<QByteArray, EventStream*> streams_;
    Access mayRead_;
    bool loopbackOnly_ = false;          // listening on loopback: only requests to loopback names
    std::list<Connection*> requesting_;  // oldest first
    // Last: its connections go first, while the list they leave still exists.
    Listener listener_;
};

// A GET answered with a file of the program's resources (web/ in the sources), read once.
HttpServer::Handler resourceFile(const QString& name, const QByteArray& type);

}  // namespace treld
