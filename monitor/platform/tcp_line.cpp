#include "platform/tcp_line.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QUrl>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace treld {
namespace {

// A terminal server that neither accepts nor refuses within this time counts
// as lost; below the 5 s of the reopen, so attempts never overlap.
constexpr int kConnectTimeoutMs = 3000;
// A reply is a few dozen characters: a peer that sends more than this without
// being asked floods the line, and one that takes no more than this of our
// commands is stuck. Either is dropped and tried again in 5 s.
constexpr qint64 kUnaskedLimit = 4096;
constexpr qint64 kUnsentLimit = 1024;

// One monitor per terminal server port on this host, as flock does for a
// device file: a name in the abstract socket namespace, claimed by binding
// it, freed by the kernel however the monitor ends, and immune to private
// temporary directories and read-only file systems.
int claim(const QUrl& url) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const QByteArray name =
        "treld-tcp-line " + url.host().toLower().toUtf8() + ":" + QByteArray::number(url.port());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t used = std::min<std::size_t>(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.constData(), used);  // sun_path[0] == 0: abstract
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + used);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QUrl terminalServer(const QString& setting) {
    const QUrl url(setting, QUrl::StrictMode);
    const bool plain = url.isValid() && url.scheme() == QLatin1String("tcp") &&
                       !url.host().isEmpty() && url.port() > 0 && url.path().isEmpty() &&
                       !url.hasQuery() && !url.hasFragment() && url.userInfo().isEmpty();
    return plain ? url : QUrl();
}

}  // namespace

bool namesTerminalServer(const QString& setting) {
    return setting.startsWith(QLatin1String("tcp://"));
}

TcpLine::TcpLine(std::function<void(std::string_view)> received, std::function<void()> lost)
    : received_(std::move(received)), lost_(std::move(lost)) {
    socket_.setReadBufferSize(kUnaskedLimit);
    connectTimeout_.setSingleShot(true);
    connect(&connectTimeout_, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no answer within 3 s")); });
    connect(&socket_, &QTcpSocket::connected, &connectTimeout_, &QTimer::stop);
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this] { fail(socket_.errorString()); });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray data = socket_.readAll();
        unasked_ += data.size();
        if (unasked_ > kUnaskedLimit)
            return fail(QStringLiteral("more than 4096 bytes unasked"));
        received_({data.constData(), static_cast<std::size_t>(data.size())});
    });
}

bool TcpLine::open(int port, const QString& setting) {
    close();
    name_ = QStringLiteral("COM%1 (%2)").arg(port).arg(setting);
    const QUrl url = terminalServer(setting);
    const char* why = url.isEmpty()              ? "not a terminal server's port (tcp://HOST:PORT)"
                      : (lock_ = claim(url)) < 0 ? "in use by another monitor"
                                                 : nullptr;
    if (why != nullptr) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name_), why);
        return false;
    }
    ++attempt_;
    unasked_ = 0;
    socket_.connectToHost(url.host(), static_cast<quint16>(url.port()));
    connectTimeout_.start(kConnectTimeoutMs);
    return true;
}

void TcpLine::close() {
    connectTimeout_.stop();
    socket_.abort();
    if (lock_ >= 0)
        ::close(lock_);
    lock_ = -1;
}

bool TcpLine::write(std::string_view text) {
    if (!isOpen() || socket_.bytesToWrite() + static_cast<qint64>(text.size()) > kUnsentLimit)
        return false;
    unasked_ = 0;
    return socket_.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

// Said once per attempt; the core hears of it after this notification ends.
void TcpLine::fail(const QString& why) {
    if (!isOpen() || failed_ == attempt_)
        return;
    failed_ = attempt_;
    std::fprintf(stderr, "%s: %s\n", qPrintable(name_), qPrintable(why));
    QMetaObject::invokeMethod(
        this,
        [this, attempt = attempt_] {
            if (isOpen() && attempt_ == attempt)
                lost_();
        },
        Qt::QueuedConnection);
}

}  // namespace treld
