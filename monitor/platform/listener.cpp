#include "platform/listener.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QTcpSocket>
#include <cerrno>
#include <cstdio>

namespace treld {
namespace {

bool leavesReserve(qintptr descriptor) {
    // The system hands out the lowest free descriptor, so connections below
    // the line keep every descriptor above it free for the rest.
    rlimit limit{};
    return ::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           descriptor + kDescriptorReserve < static_cast<qintptr>(limit.rlim_cur);
}

}  // namespace

bool descriptorsExhausted() {
    const int probe = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (probe >= 0)
        ::close(probe);
    return probe < 0 && errno == EMFILE;
}

Listener::Listener(QString name, int maxConnections)
    : name_(std::move(name)), maxConnections_(maxConnections) {
    resume_.setSingleShot(true);
    connect(&resume_, &QTimer::timeout, this, &Listener::listenAgain);
    connect(this, &QTcpServer::acceptError, this, [this] {
        if (!failing_)
            std::fprintf(stderr, "%s: cannot accept connections (%s); trying again every %d ms\n",
                         qPrintable(name_), qPrintable(errorString()), kAcceptPauseMs);
        failing_ = true;
        resume_.start(kAcceptPauseMs);
    });
}

// Qt's listener goes on reporting its first failed accept at every empty
// queue: a fresh one takes over the socket, with the connections that wait in it.
void Listener::listenAgain() {
    const int socket = ::fcntl(static_cast<int>(socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    if (socket < 0) {
        resume_.start(kAcceptPauseMs);
        return;
    }
    close();
    setSocketDescriptor(socket);
}

void Listener::incomingConnection(qintptr descriptor) {
    failing_ = false;
    if (connections_ >= maxConnections_ || !leavesReserve(descriptor)) {
        if (!makeRoom || !makeRoom()) {
            ::close(static_cast<int>(descriptor));
            return;
        }
        // The connection closed freed a descriptor, most likely below the line:
        // the newcomer moves to the lowest free one.
        const int lower = ::fcntl(static_cast<int>(descriptor), F_DUPFD_CLOEXEC, 0);
        ::close(static_cast<int>(descriptor));
        if (lower < 0)
            return;
        if (!leavesReserve(lower)) {
            ::close(lower);
            return;
        }
        descriptor = lower;
    }
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(static_cast<int>(descriptor));
        return;
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    addPendingConnection(socket);
}

}  // namespace treld
