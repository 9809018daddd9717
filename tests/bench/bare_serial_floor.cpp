// The floor of this stack: a Qt program that does nothing but the monitor's
// serial exchanges (write, collect to CR, restart a 5 ms timer) and sets one label.
#include <QApplication>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    QSerialPort port(qEnvironmentVariable("TRELD_COM1"));
    port.setBaudRate(QSerialPort::Baud2400);
    if (!port.open(QIODevice::ReadWrite))
        return 1;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QByteArray buffer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        buffer.clear();
        port.write("SRV\r");
    });
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        buffer += port.readAll();
        if (!buffer.contains('\r'))
            return;
        label.setText(QString::fromLatin1(buffer.left(4)));
        timer.start(5);
    });
    timer.start(50);
    return app.exec();
}
