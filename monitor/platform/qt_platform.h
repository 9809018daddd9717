// The platform of the real program: Qt timers, serial port, sockets,
// processes and the PC clock, delivering their events to the Monitor.
#pragma once

#include <sys/types.h>
#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <array>
#include <functional>

#include "conductor/monitor.h"
#include "foundation/platform.h"
#include "platform/deliveries.h"
#include "platform/listener.h"
#include "platform/tcp_line.h"

namespace treld {

// The device file of serial port n: $TRELD_COM<n> when set, else /dev/ttyS<n-1>;
// a setting tcp://HOST:PORT names a terminal server's port instead.
QString serialDevicePath(int port);

class QtPlatform : public QObject, public Platform {
    Q_OBJECT
  public:
    explicit QtPlatform(QObject* parent = nullptr);
    ~QtPlatform() override;

    // Every event goes to `monitor`; `afterEvent` runs after each one (the
    // windows redraw what changed).
    void attach(Monitor* monitor, std::function<void()> afterEvent);

    // Hands the monitor an event from elsewhere in the Qt layer (the broker
    // client); the windows redraw after it like after any other.
    void deliverEvent(const std::function<void(Monitor&)>& event);

    void startTimer(TimerId timer, int intervalMs) override;
    void stopTimer(TimerId timer) override;
    bool openSerialPort(int port) override;
    void closeSerialPort() override;
    bool writeSerial(std::string_view text) override;
    void connectRemote(const std::string& host, int port) override;
    void sendRemote(std::string_view text) override;
    void closeRemote() override;
    bool listenRelay(int port, const std::string& address) override;
    std::optional<std::string> acceptRelay(int slot) override;
    bool sendRelay(int slot, std::string_view text) override;
    void closeRelay(int slot) override;
    bool startProgram(const std::string& path, const std::string& argument) override;
    bool startWatchedProgram(const std::string& path, const std::string& argument) override;
    void sendHttp(int id, const OutgoingRequest& request) override {
        deliveries_.sendHttp(id, request);
    }
    void runProgram(int id, const std::string& path, const Pairs& environment,
                    int timeoutMs) override {
        deliveries_.runProgram(id, path, environment, timeoutMs);
    }
    bool replaceFile(const std::filesystem::path& file, std::string_view content) override;
    LocalDateTime now() override;
    void writeStderr(std::string_view line) override;
    void exitProgram() override;

  private:
    template <typename Event>
    void deliver(Event&& event);
    void onNewRelayConnection();

    Monitor* monitor_ = nullptr;
    std::function<void()> afterEvent_;
    std::array<QTimer, kTimerCount> timers_;
    QSerialPort serial_;
    TcpLine tcpLine_;
    QTcpSocket remote_;
    static constexpr int kSlots = 16;  // slot 0 is the listener
    // The clients in the slots and as many again that were displaced and close.
    Listener server_{QStringLiteral("Relay"), 2 * (kSlots - 1)};
    static constexpr qint64 kRelayReadChunk = 4096;  // bytes read from a peer at a time
    std::array<QTcpSocket*, kSlots> slots_{};
    bool acceptedOne_ = false;
    qint64 nowSecond_ = -1;  // of now_, since 1970
    LocalDateTime now_;
    pid_t watchedPid_ = -1;  // the program of startWatchedProgram while it runs
    QTimer watchTimer_;
    Deliveries deliveries_;
};

}  // namespace treld
