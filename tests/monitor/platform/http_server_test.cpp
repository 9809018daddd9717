// The web endpoint's server in the test's process: a viewer that stops reading its stream is
// dropped once its backlog is full while a reading one gets every event; a peer the rules
// refuse gets nothing.
#include "platform/http_server.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QTcpSocket>
#include <QTest>

#include "platform/event_stream.h"

namespace treld {
namespace {

int rawClient(quint16 port, const char* request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    send(fd, request, strlen(request), MSG_NOSIGNAL);
    return fd;
}

TEST(HttpServer, AViewerThatDoesNotReadIsDroppedAndOthersGetEveryEvent) {
    HttpServer server;
    EventStream stream;
    server.stream("/stream", stream);
    server.route("/", [](const HttpRequest&) { return HttpReply{200, "text/plain", "hi"}; });
    bool refuse = false;
    ASSERT_TRUE(server.listen("127.0.0.1", 0, [&](const QString&) { return !refuse; }));
    const int stalled = rawClient(server.port(), "GET /stream HTTP/1.1\r\n\r\n");
    QTcpSocket reader;
    qint64 received = 0;
    QObject::connect(&reader, &QTcpSocket::readyRead, [&] { received += reader.readAll().size(); });
    reader.connectToHost("127.0.0.1", server.port());
    reader.write("GET /stream HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return stream.subscribers() == 2; }, 2000));
    const QByteArray data(8000, 'x');
    const qint64 total = 1000 * EventStream::frame("e", data).size();
    for (int i = 0; i < 1000; ++i) {
        stream.publish("e", data);
        QTest::qWait(1);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return received >= total; }, 5000)) << received;
    EXPECT_EQ(stream.subscribers(), 1) << "the stalled viewer still held";
    close(stalled);

    refuse = true;
    const int refused = rawClient(server.port(), "GET / HTTP/1.0\r\n\r\n");
    char byte;
    ssize_t n = -1;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            n = recv(refused, &byte, 1, MSG_DONTWAIT);
            return n >= 0 || errno != EAGAIN;
        },
        2000));
    EXPECT_LE(n, 0) << "a refused peer got an answer";
    close(refused);
}

}  // namespace
}  // namespace treld
