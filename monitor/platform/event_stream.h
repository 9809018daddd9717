// A stream of server-sent events (text/event-stream) that any number of
// viewers hold open, up to HttpServer::kMaxStreams. Each subscriber gets the
// greeting first, then every event published after it. A viewer that does not
// take what it is sent is dropped once kMaxBacklogBytes wait for it, so a
// stalled browser costs a bounded buffer; a "heartbeat" event every
// kHeartbeatMs tells the viewer the stream lives, keeps proxies from closing a
// quiet stream and lets a vanished viewer's socket fail.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

class QTcpSocket;

namespace treld {

class EventStream : public QObject {
  public:
    // `greeting`: what a new subscriber gets first, framed (the state as it is); may be empty.
    explicit EventStream(std::function<QByteArray()> greeting = {});

    // "event: <name>" and the data, to every subscriber.
    void publish(const QByteArray& name, const QByteArray& data);
    int subscribers() const { return static_cast<int>(sockets_.size()); }
    // Called when the first viewer subscribes (a source may start watching then).
    std::function<void()> firstSubscribed;

    // Takes the socket of a request whose response head was written.
    void subscribe(QTcpSocket* socket);

    static constexpr qint64 kMaxBacklogBytes = 256 * 1024;
    static constexpr int kHeartbeatMs = 10000;
    static constexpr int kRetryMs = 1000;
    // The kernel's buffer for a stream's socket, so a stalled viewer reaches
    // the backlog bound soon rather than after megabytes.
    static constexpr int kSocketBufferBytes = 64 * 1024;

    // One event as it goes on the wire.
    static QByteArray frame(const QByteArray& name, const QByteArray& data);

  private:
    void send(QTcpSocket* socket, const QByteArray& bytes);
    void drop(QTcpSocket* socket);

    std::function<QByteArray()> greeting_;
    std::vector<QTcpSocket*> sockets_;
    QTimer heartbeat_;
};

}  // namespace treld
