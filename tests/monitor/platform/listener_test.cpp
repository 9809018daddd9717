// The Qt adapters: the bounded listener when the process has no file descriptor left, and the
// clock, to the millisecond like the tests' virtual one (the relay's login pacing counts on it).
#include "platform/listener.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDateTime>
#include <QTest>
#include <vector>

#include "platform/qt_platform.h"

namespace treld {
namespace {

// An accept that fails for want of a descriptor stops the listener only for a while: the
// connection that came meanwhile is taken once descriptors are free again, and the
// listener is as good as new.
TEST(Listener, AcceptsAgainAfterTheDescriptorTableWasFull) {
    Listener listener(QStringLiteral("Test"), 4);
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    int failures = 0;  // a plain function: the sanitizers' checks need a descriptor
    QObject::connect(&listener, &QTcpServer::acceptError, [&] { ++failures; });
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 512);
    setrlimit(RLIMIT_NOFILE, &low);
    const int client = socket(AF_INET, SOCK_STREAM, 0);
    std::vector<int> filler;
    for (int fd; (fd = dup(client)) >= 0;)
        filler.push_back(fd);
    sockaddr_in address{AF_INET, htons(listener.serverPort()), {htonl(INADDR_LOOPBACK)}, {}};
    EXPECT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QTest::qWait(300);
    for (int fd : filler)
        close(fd);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.hasPendingConnections(); }, 3000));
    EXPECT_EQ(failures, 1) << "one failed accept, not one per empty queue after it";
    close(client);
}

TEST(QtClock, CarriesMillisecondsBetweenItsReadsOfTheSecond) {
    QtPlatform platform;
    for (int read = 0; read < 3; ++read) {  // the first read of a second and later ones
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        const LocalDateTime now = platform.now();
        const qint64 at = now.epochSeconds * 1000 + now.millisecond;
        EXPECT_TRUE(before <= at && at <= QDateTime::currentMSecsSinceEpoch()) << at - before;
    }
}

}  // namespace
}  // namespace treld
