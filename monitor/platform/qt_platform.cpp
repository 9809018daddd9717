#include "platform/qt_platform.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <cerrno>
#include <cstdio>
#include <vector>

extern char** environ;

#include "platform/whole_file.h"

namespace treld {
namespace {

// How often a running watched program is asked whether it ended; it runs
// seconds to minutes, so a quarter second is prompt enough and costs nothing.
constexpr int kWatchIntervalMs = 250;

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view view(const QByteArray& data) {
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

// The PC's clock in its local time and the system's formats.
LocalDateTime localDateTime(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    const QLocale locale = QLocale::system();
    QString longTime = locale.timeFormat(QLocale::LongFormat);
    longTime.remove(QLatin1Char('t'));  // no time zone name
    LocalDateTime result;
    result.year = date.year();
    result.month = date.month();
    result.day = date.day();
    result.hour = time.hour();
    result.minute = time.minute();
    result.second = time.second();
    result.shortDate = locale.toString(date, QLocale::ShortFormat).toStdString();
    result.longTime = locale.toString(time, longTime.trimmed()).toStdString();
    result.epochSeconds = now.toSecsSinceEpoch();
    result.utcOffsetSeconds = now.offsetFromUtc();
    return result;
}

// Errors of an open port after which it cannot be trusted: a device gone,
// a hang-up (a read that ends), a failed read or write.
bool portLost(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::PermissionError:
        case QSerialPort::ReadError:
        case QSerialPort::WriteError:
        case QSerialPort::ResourceError:
        case QSerialPort::UnknownError:
            return true;
        default:
            return false;
    }
}

// Whether another monitor holds the line at `path`: it refuses opens
// (TIOCEXCL) or holds the lock on the device. Asked after Qt failed to open
// it, whose own lock files name the path rather than the device.
bool heldByAnotherMonitor(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == EBUSY;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

QString serialDevicePath(int port) {
    const QByteArray configured = qgetenv(("TRELD_COM" + std::to_string(port)).c_str());
    if (!configured.isEmpty())
        return QString::fromLocal8Bit(configured);
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QtPlatform::QtPlatform(QObject* parent)
    : QObject(parent),
      tcpLine_([this](std::string_view data) { deliver([&] { monitor_->onSerialData(data); }); },
               [this] { deliver([&] { monitor_->onSerialLost(); }); }),
      deliveries_([this](int id, const DeliveryOutcome& outcome) {
          deliver([&] { monitor_->onDelivered(id, outcome); });
      }) {
    for (int i = 0; i < kTimerCount; ++i) {
        timers_[i].setTimerType(Qt::PreciseTimer);
        connect(&timers_[i], &QTimer::timeout, this,
                [this, i] { deliver([&] { monitor_->onTimer(static_cast<TimerId>(i)); }); });
    }
    connect(&serial_, &QSerialPort::readyRead, this, [this] {
        const QByteArray data = serial_.readAll();
        deliver([&] { monitor_->onSerialData(view(data)); });
    });
    // Queued: the port is closed outside its own notification, and a hung-up
    // line that keeps signalling is closed within one turn of the loop.
    connect(
        &serial_, &QSerialPort::errorOccurred, this,
        [this](QSerialPort::SerialPortError error) {
            if (portLost(error) && serial_.isOpen())
                deliver([&] { monitor_->onSerialLost(); });
        },
        Qt::QueuedConnection);
    connect(&remote_, &QTcpSocket::connected, this,
            [this] { deliver([&] { monitor_->onRemoteConnected(); }); });
    remote_.setReadBufferSize(kRelayReadChunk);
    connect(&remote_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray data = remote_.readAll();
        deliver([&] { monitor_->onRemoteData(view(data)); });
    });
    connect(&remote_, &QTcpSocket::errorOccurred, this,
            [this] { deliver([&] { monitor_->onRemoteError(); }); });
    connect(&server_, &QTcpServer::newConnection, this, &QtPlatform::onNewRelayConnection);
    connect(&watchTimer_, &QTimer::timeout, this, [this] {
        int status = 0;
        const pid_t ended = ::waitpid(watchedPid_, &status, WNOHANG);
        if (ended == 0)
            return;
        watchTimer_.stop();
        watchedPid_ = -1;
        const int exitCode = ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        deliver([&] { monitor_->onMailProgramEnded(exitCode); });
    });
}

QtPlatform::~QtPlatform() {
    for (QTcpSocket* socket : slots_)
        delete socket;
}

void QtPlatform::attach(Monitor* monitor, std::function<void()> afterEvent) {
    monitor_ = monitor;
    afterEvent_ = std::move(afterEvent);
}

template <typename Event>
void QtPlatform::deliver(Event&& event) {
    if (monitor_ == nullptr)
        return;
    event();
    if (afterEvent_)
        afterEvent_();
}

void QtPlatform::deliverEvent(const std::function<void(Monitor&)>& event) {
    deliver([&] { event(*monitor_); });
}

void QtPlatform::startTimer(TimerId timer, int intervalMs) {
    QTimer& t = timers_[static_cast<int>(timer)];
    if (intervalMs <= 0) {
        t.stop();
        return;
    }
    t.start(intervalMs);
}

void QtPlatform::stopTimer(TimerId timer) {
    timers_[static_cast<int>(timer)].stop();
}

bool QtPlatform::openSerialPort(int port) {
    const QString path = serialDevicePath(port);
    if (namesTerminalServer(path))
        return tcpLine_.open(port, path);
    serial_.setPortName(path);
    serial_.setBaudRate(QSerialPort::Baud2400);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    // The line is this monitor's alone, whatever path names it: TIOCEXCL
    // refuses further opens (to all but root), the lock on the device itself
    // refuses another monitor even when it runs as root.
    const bool opened = serial_.open(QIODevice::ReadWrite);
    if (!opened || ::flock(serial_.handle(), LOCK_EX | LOCK_NB) != 0) {
        // Without a descriptor the port's lock file fails too, which Qt calls a permission error.
        const QString why = opened || heldByAnotherMonitor(path)
                                ? QStringLiteral("in use by another monitor")
                            : descriptorsExhausted() ? QStringLiteral("Too many open files")
                                                     : serial_.errorString();
        std::fprintf(stderr, "COM%d (%s): %s\n", port, qPrintable(path), qPrintable(why));
        serial_.close();
        return false;
    }
    ::ioctl(serial_.handle(), TIOCEXCL);
    return true;
}

void QtPlatform::closeSerialPort() {
    serial_.close();
    tcpLine_.close();
}

// QSerialPort buffers a write; flush() hands it to the port at once, and only
// a port that took every byte without an error has it.
bool QtPlatform::writeSerial(std::string_view text) {
    if (tcpLine_.isOpen())
        return tcpLine_.write(text);
    if (!serial_.isOpen())
        return false;
    serial_.clearError();
    const QByteArray data = bytes(text);
    if (serial_.write(data) == data.size() && serial_.flush() &&
        serial_.error() == QSerialPort::NoError && serial_.bytesToWrite() == 0)
        return true;
    serial_.clear(QSerialPort::Output);  // nothing of it goes out later
    return false;
}

void QtPlatform::connectRemote(const std::string& host, int port) {
    remote_.abort();
    remote_.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

void QtPlatform::sendRemote(std::string_view text) {
    remote_.write(bytes(text));
}

void QtPlatform::closeRemote() {
    remote_.abort();
}

bool QtPlatform::listenRelay(int port, const std::string& address) {
    const QHostAddress host = address.empty() ? QHostAddress(QHostAddress::Any)
                                              : QHostAddress(QString::fromStdString(address));
    return !host.isNull() && server_.listen(host, static_cast<quint16>(port));
}

void QtPlatform::onNewRelayConnection() {
    // The monitor takes one pending connection per request.
    while (server_.hasPendingConnections()) {
        acceptedOne_ = false;
        deliver([&] { monitor_->onRelayConnectionRequest(); });
        if (!acceptedOne_)
            break;
    }
}

std::optional<std::string> QtPlatform::acceptRelay(int slot) {
    if (slot <= 0 || slot >= kSlots)
        return std::nullopt;
    closeRelay(slot);
    QTcpSocket* socket = server_.nextPendingConnection();
    if (socket == nullptr)
        return std::nullopt;
    acceptedOne_ = true;
    socket->setParent(nullptr);
    // A client that keeps sending is read a little at a time: the monitor
    // closes it on its next chunk, and the rest stays in the network.
    socket->setReadBufferSize(kRelayReadChunk);
    slots_[slot] = socket;
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, slot] {
        if (slots_[slot] != socket)
            return;
        const QByteArray data = socket->readAll();
        deliver([&] { monitor_->onRelayData(slot, view(data)); });
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket, slot] {
        if (slots_[slot] != socket || socket->bytesToWrite() > 0)
            return;
        deliver([&] { monitor_->onRelaySendComplete(slot); });
    });
    auto gone = [this, socket, slot] {
        if (slots_[slot] != socket)
            return;
        deliver([&] { monitor_->onRelayClosed(slot); });
    };
    connect(socket, &QTcpSocket::disconnected, this, gone);
    connect(socket, &QTcpSocket::errorOccurred, this, gone);
    bool isIpv4 = false;
    const QHostAddress peer = socket->peerAddress();
    const quint32 ipv4 = peer.toIPv4Address(&isIpv4);
    return (isIpv4 ? QHostAddress(ipv4) : peer).toString().toStdString();
}

bool QtPlatform::sendRelay(int slot, std::string_view text) {
    if (slot <= 0 || slot >= kSlots || slots_[slot] == nullptr)
        return false;
    return slots_[slot]->write(bytes(text)) == static_cast<qint64>(text.size());
}

void QtPlatform::closeRelay(int slot) {
    if (slot <= 0 || slot >= kSlots || slots_[slot] == nullptr)
        return;
    QTcpSocket* socket = slots_[slot];
    slots_[slot] = nullptr;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
}

namespace {

QStringList programArguments(const std::string& argument) {
    QStringList arguments;
    if (!argument.empty())
        arguments << QString::fromStdString(argument);
    return arguments;
}

}  // namespace

bool QtPlatform::startProgram(const std::string& path, const std::string& argument) {
    return QProcess::startDetached(QString::fromStdString(path), programArguments(argument));
}

bool QtPlatform::startWatchedProgram(const std::string& path, const std::string& argument) {
    if (watchedPid_ > 0)
        return false;
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    if (!argument.empty())
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // Not a QProcess: that would kill the program when the monitor ends.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // A session of its own, as startProgram gives: a closed terminal's SIGHUP
    // or a Ctrl-C reaches the monitor alone, and the mail under way goes out.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const int failed =
        ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return false;
    watchedPid_ = pid;
    watchTimer_.start(kWatchIntervalMs);
    return true;
}

bool QtPlatform::replaceFile(const std::filesystem::path& file, std::string_view content) {
    return saveWholeFile(QString::fromStdString(file.string()), bytes(content));
}

void QtPlatform::writeStderr(std::string_view line) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

LocalDateTime QtPlatform::now() {
    // The core asks several times a second (a trend reading per reply): the formatted
    // texts are made once a second, the milliseconds (login pacing) are read every time.
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (ms / 1000 != nowSecond_) {
        nowSecond_ = ms / 1000;
        now_ = localDateTime(QDateTime::fromMSecsSinceEpoch(ms));
    }
    now_.millisecond = static_cast<int>(ms % 1000);
    return now_;
}

void QtPlatform::exitProgram() {
    QCoreApplication::exit(0);
}

}  // namespace treld
