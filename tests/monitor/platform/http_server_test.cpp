// The web endpoint's server in the test's process: a viewer that stops reading its stream is
// dropped once its backlog is full while a reading one gets every event; a peer the rules
// refuse gets nothing.
#include "platform/http_server.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>
#include <cerrno>
#include <cstring>

#include "platform/event_stream.h"

namespace treld {
namespace {

// A client that sent `request`; a stalled one with a small receive buffer.
int client(quint16 port, const char* request, int buffer = 1 << 20) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in address{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    send(fd, request, std::strlen(request), MSG_NOSIGNAL);
    return fd;
}
// Bytes read now; -1 once the server closed the connection.
long drain(int fd) {
    static char buffer[1 << 16];
    const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    return n > 0 ? n : (n == 0 || errno != EAGAIN ? -1 : 0);
}

TEST(HttpServer, AViewerThatDoesNotReadIsDroppedAndOthersGetEveryEvent) {
    HttpServer server;
    EventStream stream;
    server.stream("/stream", stream);
    bool refuse = false;
    ASSERT_TRUE(server.listen("127.0.0.1", 0, [&](const QString&) { return !refuse; }));
    const int stalled = client(server.port(), "GET /stream HTTP/1.1\r\n\r\n", 4096);
    const int reader = client(server.port(), "GET /stream HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return stream.subscribers() == 2; }, 2000));
    const QByteArray data(8000, 'x');
    long received = 0, total = 1000 * EventStream::frame("e", data).size();
    for (int i = 0; i < 1000; ++i, QTest::qWait(1), received += drain(reader))
        stream.publish("e", data);
    EXPECT_TRUE(QTest::qWaitFor([&] { return (received += drain(reader)) >= total; }, 5000));
    EXPECT_EQ(stream.subscribers(), 1) << "the stalled viewer still held";
    refuse = true;
    const int refused = client(server.port(), "GET /stream HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return drain(refused) < 0; }, 2000)) << "not refused";
    for (int fd : {stalled, reader, refused})
        close(fd);
}

}  // namespace
}  // namespace treld
