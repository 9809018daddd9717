// The floor of this stack: a Qt program that does nothing but the monitor's
// serial exchanges (write, collect to CR, restart a 5 ms timer) and sets one label.
// Usage: bare_serial_floor [ticks]: 5 ms ticks from a reply to the next command
// (1; the monitor takes 2, one to evaluate the reply and one to send).
#include <QApplication>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    QLabel label;
    QSerialPort port(qEnvironmentVariable("TRELD_COM1"));
    port.setBaudRate(QSerialPort::Baud2400);
    if (!port.open(QIODevice::ReadWrite))
        return 1;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QByteArray buffer;
    int ticksLeft = 1;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (--ticksLeft > 0) {
            timer.start(5);
            return;
        }
        buffer.clear();
        port.write("SRV\r");
    });
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        buffer += port.readAll();
        if (!buffer.contains('\r'))
            return;
        label.setText(QString::fromLatin1(buffer.left(4)));
        ticksLeft = ticks;
        timer.start(5);
    });
    timer.start(50);
    return app.exec();
}
