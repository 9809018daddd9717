// A TCP listener with bounds, for every server of the monitor (the relay, the
// /metrics endpoint): whatever clients do, the serial port, the event files
// and the lock files still get their file descriptors.
#pragma once

#include <QTcpServer>
#include <QTimer>
#include <functional>

namespace treld {

// Descriptors no connection may take: the highest ones below the process's
// limit stay for the monitor's own files, ports, pipes and Qt's internals
// (about 20 in use after start-up).
inline constexpr int kDescriptorReserve = 64;

// True when no file descriptor is free (EMFILE): a failed open then says so.
bool descriptorsExhausted();

class Listener : public QTcpServer {
  public:
    // `name` starts the line on stderr when connections cannot be accepted.
    Listener(QString name, int maxConnections);
    // Closes first: QTcpServer's own close deletes the connections not taken,
    // which are counted here.
    ~Listener() override { close(); }

    // Asked when a connection would go beyond a bound; true when it closed
    // one of its own to make room for the newcomer. May be empty.
    std::function<bool()> makeRoom;

  protected:
    // A connection beyond `maxConnections`, or one that would take a reserved
    // descriptor, is closed at once: it costs no buffer and no further event.
    void incomingConnection(qintptr descriptor) override;

  private:
    // Qt stops accepting after a failed accept (no descriptor left): accepting
    // resumes after a pause, so a full table is neither polled at full speed
    // nor the end of the server.
    static constexpr int kAcceptPauseMs = 1000;
    void listenAgain();

    QString name_;
    int maxConnections_;
    int connections_ = 0;
    bool failing_ = false;  // said on stderr until the next accepted connection
    QTimer resume_;
};

}  // namespace treld
