// A serial port that a terminal server offers on a raw TCP port
// (TRELD_COMn=tcp://HOST:PORT), shown to the core as a serial port: opening
// starts an asynchronous connect, and a refused, silent or dropped connection
// is a port lost, which the core reopens every 5 s like a device file.
#pragma once

#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <string_view>

namespace treld {

// Whether the port's setting names a terminal server rather than a device file.
bool namesTerminalServer(const QString& setting);

class TcpLine : public QObject {
    Q_OBJECT
  public:
    // `received` gets every chunk that arrives, `lost` runs once per failed
    // or ended connection, outside the socket's own notification.
    TcpLine(std::function<void(std::string_view)> received, std::function<void()> lost);
    ~TcpLine() override { close(); }

    // Starts connecting to the setting of port `port`; false (and a line on
    // stderr) when the address cannot be read or another monitor on this
    // host holds it.
    bool open(int port, const QString& setting);
    void close();
    bool isOpen() const { return lock_ >= 0; }
    // True when the socket took every byte; until the connection stands they
    // wait in it and go out once it does.
    bool write(std::string_view text);

  private:
    void fail(const QString& why);

    std::function<void(std::string_view)> received_;
    std::function<void()> lost_;
    QTcpSocket socket_;
    QTimer connectTimeout_;
    QString name_;        // "COM1 (tcp://HOST:PORT)" for stderr
    int lock_ = -1;       // the host-wide claim on HOST:PORT while open
    int attempt_ = 0;     // a loss reported late never ends a later connection
    int failed_ = 0;      // the attempt whose loss is told
    qint64 unasked_ = 0;  // bytes received since the last command
};

}  // namespace treld
