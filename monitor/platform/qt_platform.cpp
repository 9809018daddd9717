#include "platform/qt_platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QProcess>

#include "platform/whole_file.h"

namespace treld {
namespace {

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view view(const QByteArray& data) {
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

}  // namespace

QString serialDevicePath(int port) {
    const QByteArray configured = qgetenv(("TRELD_COM" + std::to_string(port)).c_str());
    if (!configured.isEmpty())
        return QString::fromLocal8Bit(configured);
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QtPlatform::QtPlatform(QObject* parent) : QObject(parent) {
    for (int i = 0; i < kTimerCount; ++i) {
        timers_[i].setTimerType(Qt::PreciseTimer);
        connect(&timers_[i], &QTimer::timeout, this,
                [this, i] { deliver([&] { monitor_->onTimer(static_cast<TimerId>(i)); }); });
    }
    connect(&serial_, &QSerialPort::readyRead, this, [this] {
        const QByteArray data = serial_.readAll();
        deliver([&] { monitor_->onSerialData(view(data)); });
    });
    connect(&remote_, &QTcpSocket::connected, this,
            [this] { deliver([&] { monitor_->onRemoteConnected(); }); });
    connect(&remote_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray data = remote_.readAll();
        deliver([&] { monitor_->onRemoteData(view(data)); });
    });
    connect(&remote_, &QTcpSocket::errorOccurred, this,
            [this] { deliver([&] { monitor_->onRemoteError(); }); });
    connect(&server_, &QTcpServer::newConnection, this, &QtPlatform::onNewRelayConnection);
    // Its messages go where the monitor's own go, not into a buffer here.
    watched_.setProcessChannelMode(QProcess::ForwardedChannels);
    connect(&watched_, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                const int code = status == QProcess::NormalExit ? exitCode : -1;
                deliver([&] { monitor_->onMailProgramEnded(code); });
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
    serial_.setPortName(serialDevicePath(port));
    serial_.setBaudRate(QSerialPort::Baud2400);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    return serial_.open(QIODevice::ReadWrite);
}

bool QtPlatform::writeSerial(std::string_view text) {
    if (!serial_.isOpen())
        return false;
    const QByteArray data = bytes(text);
    return serial_.write(data) == data.size();
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

bool QtPlatform::listenRelay(int port) {
    return server_.listen(QHostAddress::Any, static_cast<quint16>(port));
}

void QtPlatform::onNewRelayConnection() {
    // The monitor takes one pending connection per request, or none while it
    // is itself a remote client; then the connection stays unanswered.
    while (server_.hasPendingConnections()) {
        acceptedOne_ = false;
        deliver([&] { monitor_->onRelayConnectionRequest(); });
        if (!acceptedOne_)
            break;
    }
}

bool QtPlatform::acceptRelay(int slot) {
    if (slot <= 0 || slot >= kSlots)
        return false;
    closeRelay(slot);
    QTcpSocket* socket = server_.nextPendingConnection();
    if (socket == nullptr)
        return false;
    acceptedOne_ = true;
    socket->setParent(nullptr);
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
    return true;
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
        arguments << QString::fromLocal8Bit(argument.c_str());
    return arguments;
}

}  // namespace

bool QtPlatform::startProgram(const std::string& path, const std::string& argument) {
    return QProcess::startDetached(QString::fromLocal8Bit(path.c_str()),
                                   programArguments(argument));
}

bool QtPlatform::startWatchedProgram(const std::string& path, const std::string& argument) {
    if (watched_.state() != QProcess::NotRunning)
        return false;
    watched_.start(QString::fromLocal8Bit(path.c_str()), programArguments(argument));
    // An exec that fails says so at once; the wait is not for the program's work.
    return watched_.waitForStarted();
}

bool QtPlatform::replaceFile(const std::filesystem::path& file, std::string_view content) {
    return saveWholeFile(QString::fromStdString(file.string()), bytes(content));
}

LocalDateTime QtPlatform::now() {
    const QDateTime now = QDateTime::currentDateTime();
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

void QtPlatform::exitProgram() {
    QCoreApplication::exit(0);
}

}  // namespace treld
