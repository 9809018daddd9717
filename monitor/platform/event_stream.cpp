#include "platform/event_stream.h"

#include <QTcpSocket>
#include <algorithm>

namespace treld {

EventStream::EventStream(std::function<QByteArray()> greeting) : greeting_(std::move(greeting)) {
    connect(&heartbeat_, &QTimer::timeout, this, [this] {
        for (QTcpSocket* socket : std::vector<QTcpSocket*>(sockets_))
            send(socket, frame("heartbeat", "{}"));
    });
}

QByteArray EventStream::frame(const QByteArray& name, const QByteArray& data) {
    // Data lines may not hold a line break: a JSON text is written on one line.
    QByteArray text = "event: " + name + "\n";
    for (const QByteArray& line : data.split('\n'))
        text += "data: " + line + "\n";
    return text + "\n";
}

void EventStream::publish(const QByteArray& name, const QByteArray& data) {
    if (sockets_.empty())
        return;
    const QByteArray bytes = frame(name, data);
    for (QTcpSocket* socket : std::vector<QTcpSocket*>(sockets_))
        send(socket, bytes);
}

void EventStream::subscribe(QTcpSocket* socket) {
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSocketBufferBytes);
    sockets_.push_back(socket);
    // A viewer says nothing more once subscribed: what it sends is not read.
    socket->setReadBufferSize(1);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->skip(1 << 16); });
    connect(socket, &QObject::destroyed, this, [this, socket] {
        std::erase(sockets_, socket);
        if (sockets_.empty())
            heartbeat_.stop();
    });
    if (!heartbeat_.isActive())
        heartbeat_.start(kHeartbeatMs);
    // A viewer that loses the stream tries again after a second (browsers wait 3 s unless told).
    send(socket,
         "retry: " + QByteArray::number(kRetryMs) + "\n\n" + (greeting_ ? greeting_() : ""));
    if (sockets_.size() == 1 && firstSubscribed)
        firstSubscribed();
}

void EventStream::send(QTcpSocket* socket, const QByteArray& bytes) {
    if (socket->bytesToWrite() + bytes.size() > kMaxBacklogBytes) {
        drop(socket);
        return;
    }
    socket->write(bytes);
}

void EventStream::drop(QTcpSocket* socket) {
    socket->abort();
    socket->deleteLater();
}

}  // namespace treld
